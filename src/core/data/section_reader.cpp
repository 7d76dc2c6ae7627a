#include "core/data/section_reader.h"

#include "core/util/comma_fields.h"
#include "core/util/fatal_error.h"
#include "core/util/file_bytes.h"
#include "core/util/number_parse.h"

namespace kestrel {

bool isKeyLine(std::string_view line, std::string_view key) {
  return line.size() >= key.size() && line.compare(0, key.size(), key) == 0;
}

SectionReader::SectionReader(std::vector<DecodedLine> lines) : lines_(std::move(lines)) {}

SectionReader SectionReader::fromFile(const std::filesystem::path& path) {
  const auto bytes = readFileBytes(path);
  if (!bytes) throw SectionFault("cannot read " + path.string());
  SectionReader reader = fromBytes(*bytes);
  reader.path_ = path;
  return reader;
}

SectionReader SectionReader::fromBytes(std::string_view cp932Bytes) {
  return SectionReader(decodeCp932Lines(cp932Bytes));
}

bool SectionReader::nextLine() {
  if (pos_ >= lines_.size()) {
    hasLine_ = false;
    return false;
  }
  current_ = lines_[pos_].text;
  currentMalformed_ = lines_[pos_].malformed;
  ++pos_;
  hasLine_ = true;
  return true;
}

const std::string& SectionReader::valueLine() {
  if (!nextLine()) throw SectionFault("end of file inside a section");
  if (currentMalformed_) throw SectionFault("malformed Shift-JIS in line " + std::to_string(pos_));
  return current_;
}

int32_t SectionReader::toInt(std::string_view text) {
  auto v = parseInt(text);
  if (!v) throw SectionFault("not an integer: " + std::string(text));
  return *v;
}

double SectionReader::toDecimal(std::string_view text) {
  auto v = parseDecimal(text);
  if (!v) throw SectionFault("not a number: " + std::string(text));
  return *v;
}

Fixed SectionReader::toFixed(std::string_view text) {
  auto v = parseFixed(text);
  if (!v) throw SectionFault("not a number: " + std::string(text));
  return *v;
}

int32_t SectionReader::intLine() { return toInt(valueLine()); }
double SectionReader::decimalLine() { return toDecimal(valueLine()); }
Fixed SectionReader::fixedLine() { return toFixed(valueLine()); }

void SectionReader::table(const std::function<void(const std::string& first)>& row, bool skipSemicolonRows) {
  readTable(row, skipSemicolonRows, false);
}

void SectionReader::groupTable(const std::function<void(const std::string& first)>& row) {
  readTable(row, false, true);
}

void SectionReader::readTable(const std::function<void(const std::string& first)>& row, bool skipSemicolonRows,
                              bool groups) {
  std::vector<int32_t>* rowLines = nullptr;
  if (collecting() && sourceLines_ && !key_.empty()) {
    rowLines = &sourceLines_->rows[key_];
    rowLines->clear();
  }
  for (;;) {
    if (!nextLine()) throw SectionFault("end of file inside a table");
    // The terminating line and skipped comment rows are not values: bad bytes in them are harmless.
    if (!current_.empty() && current_.front() == '#') return;
    if (skipSemicolonRows && !current_.empty() && current_.front() == ';') continue;
    if (collecting()) {
      if (!collectRow(row, groups, rowLines)) return;
      continue;
    }
    if (currentMalformed_) throw SectionFault("malformed Shift-JIS in line " + std::to_string(pos_));
    row(current_);
  }
}

bool SectionReader::collectRow(const std::function<void(const std::string& first)>& row, bool groups,
                               std::vector<int32_t>* rowLines) {
  const size_t first = pos_;
  try {
    if (currentMalformed_) throw SectionFault("malformed Shift-JIS in line " + std::to_string(pos_));
    row(current_);
    if (rowLines) rowLines->push_back(static_cast<int32_t>(first));
    return true;
  } catch (const SectionFault&) {
    fault();
  } catch (const FatalError& e) {
    fault(e.message());
  }
  if (!groups) return true;
  // A group cut short by the terminating line ends the table there; otherwise its remaining lines
  // are passed over up to the table's end.
  if (pos_ != first && !current_.empty() && current_.front() == '#') return false;
  while (nextLine())
    if (!current_.empty() && current_.front() == '#') return false;
  throw SectionFault("end of file inside a table");
}

void SectionReader::collectFaults(FaultHandler handler, SourceLines* lines) {
  onFault_ = std::move(handler);
  sourceLines_ = onFault_ ? lines : nullptr;
  key_.clear();
}

void SectionReader::fault(std::string_view ownMessage) {
  if (onFault_) {
    onFault_(ownMessage);
    return;
  }
  // Not collecting: the fault ends the load.
  if (!ownMessage.empty()) throw FatalError(std::string(ownMessage));
  throw SectionFault("fault in line " + std::to_string(pos_));
}

void SectionReader::beginKey(std::string_view key) {
  key_ = key;
  if (sourceLines_) sourceLines_->keys[key_] = static_cast<int32_t>(pos_);
}

int32_t SectionReader::intField(int n) const { return toInt(commaField(current_, n)); }
double SectionReader::decimalField(int n) const { return toDecimal(commaField(current_, n)); }
Fixed SectionReader::fixedField(int n) const { return toFixed(commaField(current_, n)); }

std::string SectionReader::textField(int n) const { return commaField(current_, n); }

}  // namespace kestrel
