// SPDX-License-Identifier: GPL-3.0-or-later
#include "skin/skin_engine.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace quorin::skin {

namespace {
constexpr qint64 kLargestSkin = 1 << 20;  // a style sheet is a few kilobytes; anything this big is no skin
}

bool LooksLikeStyleSheet(const QString& sheet) {
  int depth = 0;
  bool sawRule = false;
  QChar quote;
  for (qsizetype i = 0; i < sheet.size(); ++i) {
    const QChar c = sheet[i];
    if (!quote.isNull()) {
      if (c == QLatin1Char('\\')) ++i;
      else if (c == quote) quote = QChar();
      continue;
    }
    if (c == QLatin1Char('/') && i + 1 < sheet.size() && sheet[i + 1] == QLatin1Char('*')) {
      const qsizetype end = sheet.indexOf(QStringLiteral("*/"), i + 2);
      if (end < 0) return false;
      i = end + 1;
    } else if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
      quote = c;
    } else if (c == QLatin1Char('{')) {
      ++depth;
      sawRule = true;
    } else if (c == QLatin1Char('}')) {
      if (--depth < 0) return false;
    }
  }
  return depth == 0 && quote.isNull() && sawRule;
}

QString ResolveImagePaths(const QString& sheet, const QString& folder) {
  static const QRegularExpression url(QString::fromLatin1(R"re(url\(\s*(["']?)([^)"']+)\1\s*\))re"));
  QString resolved;
  qsizetype copied = 0;
  QRegularExpressionMatchIterator it = url.globalMatch(sheet);
  while (it.hasNext()) {
    const QRegularExpressionMatch m = it.next();
    const QString path = m.captured(2).trimmed();
    // Resources (":/…"), absolute paths and URLs with a scheme stay as written.
    if (path.startsWith(QLatin1Char(':')) || QDir::isAbsolutePath(path) || path.contains(QStringLiteral("://"))) continue;
    resolved += sheet.mid(copied, m.capturedStart() - copied);
    resolved += QStringLiteral("url(\"") + QDir(folder).absoluteFilePath(path) + QStringLiteral("\")");
    copied = m.capturedEnd();
  }
  return resolved + sheet.mid(copied);
}

SkinEngine::~SkinEngine() {
  if (active_ && qApp) qApp->setStyleSheet(QString());
}

bool SkinEngine::Load(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    lastError_ = QStringLiteral("无法读取皮肤文件：") + path;
    return false;
  }
  if (file.size() > kLargestSkin) {
    lastError_ = QStringLiteral("皮肤文件太大：") + path;
    return false;
  }
  const QString sheet = QString::fromUtf8(file.readAll());
  if (!LooksLikeStyleSheet(sheet)) {
    lastError_ = QStringLiteral("皮肤文件格式不对：") + path;
    return false;
  }
  path_ = path;
  styleSheet_ = ResolveImagePaths(sheet, QFileInfo(path).absolutePath());
  lastError_.clear();
  if (active_) Apply();
  return true;
}

void SkinEngine::SetActive(bool active) {
  active_ = active;
  Apply();
}

void SkinEngine::Apply() const {
  if (qApp) qApp->setStyleSheet(active_ ? styleSheet_ : QString());
}

}  // namespace quorin::skin
