#include "image/format_table.h"

#include <utility>

#include "basic_lib/text_case.h"

namespace image {
namespace {

// Tested in this order; the first group holding the extension wins.
constexpr std::pair<ImageFileType, std::wstring_view> kGroups[] = {
    {1, L",bmp,dib,"},
    {2, L",jpg,jpeg,jfif,jpe,"},
    {3, L",gif,"},
    {4, L",tiff,tif,"},
    {5, L",png,"},
    {6, L",ico,"},
    {7, L",psd,"},
    {8, L",tga,"},
    {9, L",oxo,"},
    {12, L",wmf,"},
    {13, L",emf,"},
    {14, L",jng,"},
    {15, L",j2c,"},
    {10, L",3fr,arw,bay,bmq,cap,cine,cr2,crw,cs1,dc2,dcr,drf,dsc,dng,erf,fff,ia,iiq,k25,kc2,kdc,mdc,mef,mos,mrw,nef,"
         L"nrw,orf,pef,ptx,pxn,qtk,raf,raw,rdc,rw2,rwl,rwz,sr2,srf,srw,sti,x3f,"},
    {11, L",cut,dds,exr,g3,hdr,iff,lbm,j2k,j2c,jng,jp2,jxr,wdp,hdp,koa,pcd,pcx,pfm,pct,pict,pic,pbm,pgm,ppm,ras,sgi,"
         L"rgb,rgba,bw,wap,wbmp,wbm,webp,xbm,xpm,"},
};

constexpr wchar_t kOpenPatterns[] =
    L"*.bmp;*.dib;*.jpg;*.jpeg;*.jfif;*.jpe;*.gif;*.tiff;*.tif;*.png;*.ico;*.psd;*.cut;*.dds;*.exr;*.g3;*.hdr;*.iff;"
    L"*.lbm;*.j2k;*.j2c;*.jng;*.jp2;*.jxr;*.wdp;*.hdp;*.koa;*.pcd;*.pcx;*.pfm;*.pct;*.pict;*.pic;*.pbm;*.pgm;*.ppm;"
    L"*.ras;*.sgi;*.rgb;*.rgba;*.bw;*.tga;*.targa;*.wap;*.wbmp;*.wbm;*.webp;*.xbm;*.xpm;*.3fr;*.arw;*.bay;*.bmq;"
    L"*.cap;*.cine;*.cr2;*.crw;*.cs1;*.dc2;*.dcr;*.drf;*.dsc;*.dng;*.erf;*.fff;*.ia;*.iiq;*.k25;*.kc2;*.kdc;*.mdc;"
    L"*.mef;*.mos;*.mrw;*.nef;*.nrw;*.orf;*.pef;*.ptx;*.pxn;*.qtk;*.raf;*.raw;*.rdc;*.rw2;*.rwl;*.rwz;*.sr2;*.srf;"
    L"*.srw;*.sti;*.x3f";

// The extension as the shell's path functions see it: from the last dot of the last component, or empty.
std::wstring_view Extension(std::wstring_view path) {
  const size_t slash = path.find_last_of(L"\\/");
  const std::wstring_view name = slash == std::wstring_view::npos ? path : path.substr(slash + 1);
  const size_t dot = name.find_last_of(L'.');
  if (dot == std::wstring_view::npos) return {};
  const std::wstring_view ext = name.substr(dot);
  // A dot followed by a space or nothing more than the dot still is an extension of its own.
  if (ext.find(L' ') != std::wstring_view::npos) return {};
  return ext;
}

}  // namespace

ImageFileType ClassifyImagePath(std::wstring_view path) {
  std::wstring_view ext = Extension(path);
  if (!ext.empty()) ext.remove_prefix(1);
  const std::wstring probe = basic_lib::ToLower(L"," + std::wstring(ext) + L",");
  for (const auto& [code, group] : kGroups)
    if (group.find(probe) != std::wstring_view::npos) return code;
  return IMG_UNKNOWN;
}

const wchar_t* OpenFilterPatterns() { return kOpenPatterns; }

std::wstring OpenFilter(const std::wstring& caption) {
  return caption + L" (*.*)|" + kOpenPatterns + L"||";
}

const wchar_t* SaveAsFilter() { return L"JPEG|*.jpg|PNG|*.png|BMP|*.bmp|GIF|*.gif|TIFF|*.tiff||"; }

std::wstring SaveAsExtensionForFilter(int filter_index) {
  switch (filter_index) {
    case 2: return L".png";
    case 3: return L".bmp";
    case 4: return L".gif";
    case 5: return L".tiff";
    default: return L".jpg";
  }
}

std::wstring FinishSaveAsName(const std::wstring& typed, int filter_index) {
  return IsWritableType(ClassifyImagePath(typed)) ? typed : typed + SaveAsExtensionForFilter(filter_index);
}

}  // namespace image
