#pragma once
// The face of the program's small windows (help, easy cab, value display, title status line).
#include <QFont>

namespace kestrel {

// "Meiryo UI" where it exists; IPAGothic keeps Latin and kana in one face elsewhere.
QFont meiryoUiFont(int pixelSize);

}  // namespace kestrel
