// SPDX-License-Identifier: GPL-3.0-or-later
// The window skins: a skin file (.skn) is a Qt style sheet that restyles the frames, menus and
// standard controls of every window of the program; switching skinning off restores the
// standard look. The main window keeps one engine and drives it from its skin menu.
#pragma once

#include <QString>

namespace quorin::skin {

class SkinEngine {
 public:
  SkinEngine() = default;
  ~SkinEngine();
  SkinEngine(const SkinEngine&) = delete;
  SkinEngine& operator=(const SkinEngine&) = delete;

  // Reads the skin file at `path` (UTF-8 text); relative image paths in it are taken from the
  // skin file's folder. When it cannot be read, or is not a style
  // sheet Qt accepts, the loaded skin is unchanged, false is returned and LastError() says why.
  // A skin loaded while skinning is on is applied at once.
  bool Load(const QString& path);
  // Applies the loaded skin to the whole application (windows open now and later), or
  // removes it. Switching on without a loaded skin keeps the standard look.
  void SetActive(bool active);

  bool Active() const { return active_; }
  // The file of the loaded skin, empty before the first successful Load.
  const QString& Path() const { return path_; }
  // The loaded sheet, image paths resolved.
  const QString& StyleSheet() const { return styleSheet_; }
  const QString& LastError() const { return lastError_; }

 private:
  void Apply() const;

  QString path_;
  QString styleSheet_;
  QString lastError_;
  bool active_ = false;
};

// The sheet with every relative url(…) made absolute against `folder`, so a skin finds its
// images beside its file wherever the program runs from.
QString ResolveImagePaths(const QString& sheet, const QString& folder);

// Whether `sheet` parses as a Qt style sheet (braces balanced outside comments and strings).
bool LooksLikeStyleSheet(const QString& sheet);

}  // namespace quorin::skin
