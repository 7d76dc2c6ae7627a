#pragma once
// The image libraries under Qt write their own complaints straight to stderr ("libpng error:
// ..."). While an object of this class lives, descriptor 2 goes to /dev/null, so that a
// command-line tool's stderr carries exactly its own messages. KESTREL_QT_MESSAGES=1 keeps them,
// for debugging a picture.
//
// Thread contract: the process's stderr is shared; one at a time, on the thread that loads.
namespace kestrel {

class QuietImageLibraries {
 public:
  QuietImageLibraries();
  ~QuietImageLibraries();
  QuietImageLibraries(const QuietImageLibraries&) = delete;
  QuietImageLibraries& operator=(const QuietImageLibraries&) = delete;

 private:
  int saved_ = -1;
};

}  // namespace kestrel
