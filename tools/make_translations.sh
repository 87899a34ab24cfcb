#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Brings the windows' translation files up to date with the source texts: lupdate collects
# every text the windows pass through tr() or QCoreApplication::translate(), keeps the
# translations already there (a person's corrections in Qt Linguist stay) and drops texts
# no longer used; fill_translations writes the traditional form of each new text with the
# program's own converter (OpenCC and the field's dictionary). Commit the .ts files.
#   tools/make_translations.sh [BUILD-FOLDER]   (default build/release, with fill_translations built)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
lupdate=/usr/lib/qt6/bin/lupdate
cmake --build "$build" --target fill_translations >/dev/null
for region in TW HK; do
  ts=data/translations/quorin_zh_$region.ts
  # -I src: the includes resolve, so each text is filed under its class's full name (quorin::ui::TFrmSet),
  # the context tr() looks it up by.
  "$lupdate" -silent -I src src/ui src/sheet app/quorin -ts "$ts" -source-language zh_CN -target-language "zh_$region" \
    -no-obsolete -locations none
  "$build/bin/fill_translations" --script "zh-Hant-$region" "$ts"
done
