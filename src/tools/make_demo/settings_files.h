#pragma once
// railvane.dat, mascon.dat, operation.dat and readme.html.
#include "tools/make_demo/assets.h"

namespace kestrel::demo {

void writeSettingsFiles(Assets& assets);
// The user manual (UTF-8 HTML), kept in readme_text.cpp.
const char* readmeHtml();

}  // namespace kestrel::demo
