#include "main_view/view_services.h"

#include "app/app_config.h"
#include "app/language.h"
#include "app/my_log.h"
#include "image/current_picture.h"
#include "view_render/key_frame_render.h"
#include "view_render/system_cache.h"
#include "widget_window/ui_event.h"

namespace main_view {
namespace {

view_render::TitleTexts TitleTextsFromPack() {
  const auto key = [](const wchar_t* k) { return app::GetLanguageString(L"TITLE", k); };
  view_render::TitleTexts t;
  t.key10 = key(L"10");
  t.key11 = key(L"11");
  t.key12 = key(L"12");
  t.key13 = key(L"13");
  t.key30 = key(L"30");
  t.key31 = key(L"31");
  t.key32 = key(L"32");
  t.key40 = key(L"40");
  t.key41 = key(L"41");
  t.chinese = app::IsChineseLanguage();
  t.cjk = app::IsCjkLanguage();
  return t;
}

}  // namespace

ViewServices& ViewServices::Get() {
  static ViewServices services;
  return services;
}

void ViewServices::Connect(std::function<HWND()> main_window) {
  main_window_ = std::move(main_window);
  title_.SetMainWindow([this] { return main_window_ ? main_window_() : nullptr; });
  if (connected_) return;
  connected_ = true;
  title_.SetTexts(TitleTextsFromPack());

  image::CCurrentPicture& picture = image::CCurrentPicture::Instance();
  image::OpenOptions options;
  options.orientation_by_tag = app::CAppConfig::Get().orientation_by_tag != 0;
  picture.SetOpenOptions(options);
  picture.SetPictureObserver([this](const std::wstring& path, const image::CImageExifInfo* exif, int w, int h) {
    title_.SetPicture(path, w, h, exif ? exif->shooting_time : std::wstring());
  });

  folder::CCurrentFolderImage::Listeners listeners;
  listeners.position = [this](int index, int count) { title_.SetPosition(index, count); };
  listeners.neighbours = [](const std::wstring& folder, int index, const std::deque<std::wstring>& names) {
    view_render::CSystemCache::Get().UpdateNeighbours(folder, index, names);
  };
  listeners.loop = [] { return app::CAppConfig::Get().view_folder_loop != 0; };
  folder_list_.SetListeners(std::move(listeners));

  view_render::CSystemCache::Settings cache;
  cache.preload_enable = [] { return app::CAppConfig::Get().preload_enable != 0; };
  cache.ignore_embedded_icc = [] { return app::CAppConfig::Get().ignore_embedded_icc != 0; };
  cache.background = [] { return app::CAppConfig::Get().canvas_brush(); };
  view_render::CSystemCache::Get().SetSettings(std::move(cache));
}

std::unique_ptr<view_render::CViewRenderer> ViewServices::MakeRenderer(HWND view, int width, int height) {
  const app::CAppConfig& config = app::CAppConfig::Get();
  image::CCurrentPicture& picture = image::CCurrentPicture::Instance();
  const auto [pw, ph] = image::GetOrientedSize(picture.GetLoader().get());

  view_render::CViewRenderer::Settings s;
  s.zoom.max_zoom_ratio = config.max_zoom_ratio;
  s.zoom.double_click_actual_size = config.double_click_action != 0;
  s.long_image_mode = config.long_image_mode != 0;
  s.canvas = config.canvas_brush();
  view_render::CPreRenderKeyFrame::Settings frames;
  frames.background = config.canvas_brush();
  frames.ignore_embedded_icc = config.ignore_embedded_icc != 0;
  frames.hardware_zoom = config.hardware_zoom != 0;
  s.make_pre_render = [view, frames](view_render::CViewRenderer& r) {
    return std::make_unique<view_render::CPreRenderKeyFrame>(r, view, frames);
  };
  s.cancel_work = [] { image::CCurrentPicture::Instance().GetQueue().CancelAll(); };
  s.zoom_percent = [this](float ratio) { title_.SetZoomPercent(ratio); };
  s.zoom_changed = [](float ratio, float fit) { widget_window::RaiseUIEvent(widget_window::CUIEventViewZoomChanged(ratio, fit)); };
  s.log = [](const std::wstring& line) { VLOG_INFO << line; };
  return std::make_unique<view_render::CViewRenderer>(view, pw, ph, picture.IsLongPicture(), width, height, std::move(s));
}

}  // namespace main_view
