#pragma once
// Port: the dialogs and shell services the program uses.
#include <optional>
#include <string>

namespace kestrel {

class UserDialogs {
 public:
  virtual ~UserDialogs() = default;
  virtual void showMessage(const std::string& text) = 0;
  // A question with "Yes" and "No"; true for yes.
  virtual bool confirm(const std::string& text) = 0;
  // Returns the chosen file's full path, or nullopt when cancelled. `filter` is written as
  // "Description (*.dat)|*.dat"; the dialog opens in `folder`.
  virtual std::optional<std::string> openFile(const std::string& title, const std::string& filter,
                                              const std::string& folder) = 0;
  // Opens a document (for example "readme.html") with the desktop's handler; false when no
  // program could be started for it.
  virtual bool openDocument(const std::string& path) = 0;
};

}  // namespace kestrel
