// The window skins of the skins folder, and the skin component's two operations the
// main window needs: load a skin file, switch skinning on or off.
#pragma once

#include <QString>
#include <QStringList>

namespace quorin::ui {

inline constexpr const char* kSystemDefaultSkin = "系统默认";

// One caption per skins/*.skn file, the file name up to its first ".", in name order.
QStringList SkinCaptions(const QString& skinsFolder);

// Keeps the chosen skin. Drawing with it is the skin component's work; until that is
// present the choice is recorded and the standard look stays.
class SkinData {
 public:
  void Load(const QString& path) { path_ = path; }
  void SetActive(bool active) { active_ = active; }
  const QString& Path() const { return path_; }
  bool Active() const { return active_; }

 private:
  QString path_;
  bool active_ = false;
};

}  // namespace quorin::ui
