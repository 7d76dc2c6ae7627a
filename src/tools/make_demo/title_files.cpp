#include "tools/make_demo/title_files.h"

#include "tools/make_demo/movie_encoder.h"
#include "tools/make_demo/pictures.h"
#include "tools/make_demo/synth.h"

namespace kestrel::demo {

void writeTitleFiles(Assets& a) {
  for (int i = 1; i <= 4; ++i) a.picture("image\\title\\title0" + std::to_string(i) + ".jpg", paint::titlePicture(800, 600, i - 1));
  a.picture("image\\title\\title2.jpg", paint::menuPicture(800, 600));
  const char* lines[3] = {"特急  鷹見→鳥羽台", "快速  鷹見→鳥羽台", "普通  鷹見→鳥羽台（ワンマン）"};
  const QColor lineColours[3] = {QColor(200, 60, 60), QColor(230, 120, 30), QColor(40, 110, 200)};
  for (int i = 0; i < 3; ++i) a.picture("image\\title\\line0" + std::to_string(i + 1) + ".bmp", paint::button(320, 60, lines[i], lineColours[i]));
  const char* trains[3] = {"313系 8両", "313系 10両", "383系 6両"};
  for (int i = 0; i < 3; ++i) a.picture("image\\title\\train" + std::to_string(i + 1) + ".bmp", paint::button(240, 60, trains[i], QColor(60, 80, 110)));
  // The title window's own buttons.
  a.picture("image\\title\\start.bmp", paint::button(240, 48, "クリックでスタート", QColor(40, 60, 90), false));
  a.picture("image\\title\\quit.bmp", paint::button(120, 40, "終了", QColor(120, 40, 40), false));
  a.picture("image\\title\\help.bmp", paint::button(60, 40, "？", QColor(40, 90, 60)));
  a.picture("image\\title\\back.bmp", paint::button(120, 40, "戻る", QColor(60, 60, 60)));
  a.picture("image\\title\\cursor.bmp", paint::button(28, 40, "▶", QColor(24, 36, 60)));
  a.wave("sound\\start.wav", synth::chime());
  a.wave("sound\\46807.wav", synth::departureMelody());
}

void writeOpeningMovie(Assets& a, const MovieRenderer& renderer, int frames) {
  // With a soundtrack, as authors' opening movies have one.
  const Wave theme = synth::openingTheme(frames / 30.0);
  MovieEncoder enc(a.pathOf("move\\opening.avi"), 640, 360, 30, 15, 800000, &theme);
  for (int k = 0; k < frames; ++k) enc.add(renderer.openingFrame(k, frames).copy(0, 60, 640, 360));
  enc.finish();
}

}  // namespace kestrel::demo
