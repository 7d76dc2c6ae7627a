#pragma once
// UserDialogs with Qt: message boxes captioned with the application title, the file-open dialog
// and the desktop's handler for documents. The dialogs' own buttons and labels speak the
// program's language (Japanese) wherever the system has Qt's translations. GUI thread only.
#include "core/ports/user_dialogs.h"

class QWidget;

namespace kestrel {

class QtUserDialogs final : public UserDialogs {
 public:
  // `parent`: the window the dialogs belong to (may be null).
  explicit QtUserDialogs(QWidget* parent = nullptr);
  void setParent(QWidget* parent) { parent_ = parent; }

  void showMessage(const std::string& text) override;
  bool confirm(const std::string& text) override;
  std::optional<std::string> openFile(const std::string& title, const std::string& filter,
                                      const std::string& folder) override;
  bool openDocument(const std::string& path) override;

  // "Description (*.dat)|*.dat|All (*.*)|*.*" as Qt writes it: "Description (*.dat);;All (*.*)".
  static std::string qtFilter(const std::string& filter);

 private:
  QWidget* parent_;
};

}  // namespace kestrel
