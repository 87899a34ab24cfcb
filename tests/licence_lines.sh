#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Every source file says its licence in an SPDX line near its top, as the package's copyright
# file and the README say: the program's own code under GPL-3.0-or-later, tables made from data
# under the data's licence.
set -u
cd "${1:?the source folder}" || exit 1
missing=0
while IFS= read -r file; do
  head -n 3 "$file" | grep -q 'SPDX-License-Identifier: ' || { echo "no SPDX line: $file"; missing=1; }
done < <(git ls-files 2>/dev/null | grep -E '\.(cpp|h|sh|py|cmake)$|^(app|tests|bench)/.*\.(js|css|html)$|CMakeLists\.txt$|^\.ci/run$|^data/completion/' ||
         find src app tests bench tools scripts cmake data/tables data/completion -type f \
           -not -path '*/node_modules/*' \( -name '*.cpp' -o -name '*.h' -o -name '*.sh' -o -name '*.py' -o -name '*.cmake' \
           -o -name '*.js' -o -name '*.css' -o -name '*.html' -o -name CMakeLists.txt \))
exit $missing
