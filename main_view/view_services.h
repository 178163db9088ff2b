#pragma once
// The process-wide objects around the picture on screen, tied together once: the current picture tells
// the title what was opened, the folder list tells the title its position and the system cache the
// neighbours to preload, and every one of them reads the user's settings. The image view and the main
// window reach them here. UI thread only.
#include <windows.h>

#include <functional>
#include <memory>

#include "folder/current_folder_image.h"
#include "view_render/title_info.h"
#include "view_render/view_renderer.h"

namespace main_view {

class ViewServices {
 public:
  static ViewServices& Get();

  // Wires the objects to each other and to the configuration; the title finds the main window through
  // main_window. Calling it again only replaces main_window.
  void Connect(std::function<HWND()> main_window);

  [[nodiscard]] view_render::CTitleInfo& title() { return title_; }
  [[nodiscard]] folder::CCurrentFolderImage& folder_list() { return folder_list_; }

  // A renderer for the current picture in a view area of this size, with the settings of the moment.
  [[nodiscard]] std::unique_ptr<view_render::CViewRenderer> MakeRenderer(HWND view, int width, int height);

 private:
  bool connected_ = false;
  std::function<HWND()> main_window_;
  view_render::CTitleInfo title_;
  folder::CCurrentFolderImage folder_list_;
};

}  // namespace main_view
