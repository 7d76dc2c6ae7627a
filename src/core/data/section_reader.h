#pragma once
// The shared syntax of the data files.
//
// A file is read in one loop that takes one line per pass and tests it against every key of the
// file in the file's fixed order. A line is a key line when its first characters equal the key
// over the key's own length (case-sensitive; the rest of the line is ignored). A scalar key is
// followed by a fixed number of value lines; a table key by rows up to a line whose first
// character is '#', which is consumed. Reading a value moves the current line, so the tests later
// in the same pass see the line read last.
//
// Any fault (end of file inside a section, a value that does not convert, a malformed Shift-JIS
// line used as a value) throws SectionFault; each loader turns it into its own message. In
// collecting mode (load_faults.h) a fault inside a table goes to the loader's handler instead and
// reading goes on.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/data/load_faults.h"
#include "core/util/cp932.h"
#include "core/util/fixed.h"

namespace kestrel {

class SectionFault : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

bool isKeyLine(std::string_view line, std::string_view key);

class SectionReader {
 public:
  explicit SectionReader(std::vector<DecodedLine> lines);
  // Reads a CP932 file; throws SectionFault when it cannot be read.
  static SectionReader fromFile(const std::filesystem::path& path);
  static SectionReader fromBytes(std::string_view cp932Bytes);

  // The file read (empty for bytes), and the 1-based line number of the current line (the last
  // line once the end of the file is reached).
  const std::filesystem::path& path() const { return path_; }
  int32_t lineNumber() const { return static_cast<int32_t>(pos_); }
  bool atEnd() const { return pos_ >= lines_.size(); }

  // The loop's next line; false at the end of the file.
  bool nextLine();
  // The line read last (the current line of the pass).
  const std::string& line() const { return current_; }
  bool at(std::string_view key) const { return hasLine_ && isKeyLine(current_, key); }

  // Value lines: each reads the next line and makes it the current line.
  const std::string& valueLine();
  int32_t intLine();
  double decimalLine();
  Fixed fixedLine();

  // Reads rows until a line starting with '#' (consumed). For each row, `row` is called with the
  // row's first line as the current line; it may read more lines of a group with valueLine(), so
  // the '#' test is made on the first line of a group only. With skipSemicolonRows, rows starting
  // with ';' are passed over (neither stored nor counted).
  void table(const std::function<void(const std::string& first)>& row, bool skipSemicolonRows = false);
  // A table whose rows are groups of value lines. Read as table(); in collecting mode a fault in a
  // group skips the rest of the table, since the group's remaining lines cannot be told from rows.
  void groupTable(const std::function<void(const std::string& first)>& row);

  // Collecting mode. `handler` takes each fault, with the current line the one it is on;
  // `ownMessage` is empty where the file's own message applies. `lines` learns where each key
  // matched (beginKey) and each stored table row stood. A null handler ends the mode.
  using FaultHandler = std::function<void(std::string_view ownMessage)>;
  void collectFaults(FaultHandler handler, SourceLines* lines);
  bool collecting() const { return static_cast<bool>(onFault_); }
  // A fault on the current line: to the handler when collecting; otherwise it ends the load
  // (FatalError with `ownMessage`, or SectionFault for the file's own message).
  void fault(std::string_view ownMessage = {});
  // The key loop's note that `key` matched on the current line (collecting mode only).
  void beginKey(std::string_view key);

  // Conversions that fault like the value lines.
  static int32_t toInt(std::string_view text);
  static double toDecimal(std::string_view text);
  static Fixed toFixed(std::string_view text);
  // Comma field n (from 1) of the current line converted; a missing field faults.
  int32_t intField(int n) const;
  double decimalField(int n) const;
  Fixed fixedField(int n) const;
  // A text field is taken as it stands; beyond the last field it is "Error", like every field.
  std::string textField(int n) const;

 private:
  void readTable(const std::function<void(const std::string& first)>& row, bool skipSemicolonRows, bool groups);
  // Collecting mode: one row read, its fault handed on; false when the table ended with it.
  bool collectRow(const std::function<void(const std::string& first)>& row, bool groups,
                  std::vector<int32_t>* rowLines);

  std::filesystem::path path_;
  std::vector<DecodedLine> lines_;
  size_t pos_ = 0;
  FaultHandler onFault_;
  SourceLines* sourceLines_ = nullptr;
  std::string key_;
  bool hasLine_ = false;
  bool currentMalformed_ = false;
  std::string current_;
};

}  // namespace kestrel
