// SPDX-License-Identifier: GPL-3.0-or-later
// Window layout and text preferences kept in dat/init.ini.
#pragma once

#include <string>

namespace quorin::base {

class IniFile;

struct LayoutPrefs {
  bool skined = false;
  std::string skinname = "Mx1";
  int left = 10;
  int top = 10;
  int width = 400;   // client area
  int height = 400;  // client area
  int state = 0;     // 0 normal, 1 minimised, 2 maximised
  std::string fname = "宋体";
  int fsize = 12;
  int bcolor = 12635344;  // 0xBBGGRR
  int treewid = 180;
  int pinghei = 80;
  int sheng = 34;  // "未知地"
  int shi = 0;
  // An own or world place (sheng then names 未知地) and a zone the place's times are read in;
  // written only when there is one, so a file without them stays as it was.
  std::string placeName;
  std::string placeZone;
  int showStyle = 1;
  int sort = 0;
  double imgSize = 12.0;

  static constexpr int kMinTreeWidth = 30;
  static constexpr int kMinRemarkHeight = 20;
};

// The preferences of the file, the defaults for what is missing, with the tree width
// and the remark height raised to their minimums.
LayoutPrefs ReadLayoutPrefs(const IniFile& ini);

// Writes the keys of a close, in their order; the window position and client size only
// when `normalState`. False, with the INI's LastError, when a write fails (the keys
// before it stay written).
[[nodiscard]] bool WriteLayoutPrefsAtClose(IniFile& ini, const LayoutPrefs& prefs, bool normalState);

// The skin choice, written at once when the user picks one.
[[nodiscard]] bool WriteSkinChoice(IniFile& ini, bool skined, const std::string& skinname);

}  // namespace quorin::base
