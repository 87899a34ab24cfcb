// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/layout_prefs.h"

#include <algorithm>
#include <cstdint>

#include "base/ini_file.h"

namespace quorin::base {

LayoutPrefs ReadLayoutPrefs(const IniFile& ini) {
  LayoutPrefs p;
  p.skined = ini.ReadBool("window", "skined", p.skined);
  p.skinname = ini.ReadString("window", "skinname", p.skinname);
  p.left = ini.ReadInteger("window", "left", p.left);
  p.top = ini.ReadInteger("window", "top", p.top);
  p.width = ini.ReadInteger("window", "width", p.width);
  p.height = ini.ReadInteger("window", "height", p.height);
  // Kept in one signed byte by the window.
  p.state = static_cast<std::int8_t>(ini.ReadInteger("window", "state", p.state));
  p.fname = ini.ReadString("text", "fname", p.fname);
  p.fsize = ini.ReadInteger("text", "fsize", p.fsize);
  p.bcolor = ini.ReadInteger("text", "bcolor", p.bcolor);
  p.treewid = std::max(LayoutPrefs::kMinTreeWidth, ini.ReadInteger("window", "treewid", p.treewid));
  p.pinghei = std::max(LayoutPrefs::kMinRemarkHeight, ini.ReadInteger("window", "pinghei", p.pinghei));
  p.sheng = ini.ReadInteger("window", "sheng", p.sheng);
  p.shi = ini.ReadInteger("window", "shi", p.shi);
  p.placeName = ini.ReadString("window", "placeName", "");
  p.placeZone = ini.ReadString("window", "placeZone", "");
  p.showStyle = ini.ReadInteger("tree", "showStyle", p.showStyle);
  p.sort = ini.ReadInteger("tree", "sort", p.sort);
  p.imgSize = ini.ReadFloat("Img", "size", p.imgSize);
  return p;
}

namespace {

bool WriteOrDelete(IniFile& ini, std::string_view section, std::string_view key, const std::string& value) {
  return value.empty() ? ini.DeleteKey(section, key) : ini.WriteString(section, key, value);
}

}  // namespace

bool WriteLayoutPrefsAtClose(IniFile& ini, const LayoutPrefs& p, bool normalState) {
  if (normalState) {
    if (!ini.WriteInteger("window", "left", p.left) || !ini.WriteInteger("window", "top", p.top) ||
        !ini.WriteInteger("window", "width", p.width) || !ini.WriteInteger("window", "height", p.height)) {
      return false;
    }
  }
  return ini.WriteInteger("window", "state", p.state) && ini.WriteString("text", "fname", p.fname) &&
         ini.WriteInteger("text", "fsize", p.fsize) && ini.WriteInteger("text", "bcolor", p.bcolor) &&
         ini.WriteInteger("window", "treewid", p.treewid) && ini.WriteInteger("window", "sheng", p.sheng) &&
         ini.WriteInteger("window", "shi", p.shi) && ini.WriteInteger("window", "pinghei", p.pinghei) &&
         ini.WriteFloat("Img", "size", p.imgSize) && ini.WriteInteger("tree", "showStyle", p.showStyle) &&
         ini.WriteInteger("tree", "sort", p.sort) && WriteOrDelete(ini, "window", "placeName", p.placeName) &&
         WriteOrDelete(ini, "window", "placeZone", p.placeZone);
}

bool WriteSkinChoice(IniFile& ini, bool skined, const std::string& skinname) {
  if (skined && !ini.WriteString("window", "skinname", skinname)) return false;
  return ini.WriteBool("window", "skined", skined);
}

}  // namespace quorin::base
