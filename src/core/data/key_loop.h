#pragma once
// The reading loop shared by the data files: one line per pass, tested against every key of the
// file in the file's fixed order. Some keys set the section label just before their test; the
// label stays in force until the next one is set and falls back to the file's initial label at
// the start of every pass, so an error is reported with the label of the last labelled key that
// was tested, which need not be the key being read.
//
// In collecting mode (SectionReader::collectFaults) a fault while a key is read goes to the
// reader's handler, and the pass goes on with the later keys, which see the line read last (so a
// value line that is really the next key line is still taken as that key).
#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "core/data/section_reader.h"
#include "core/util/fatal_error.h"

namespace kestrel {

template <class Context>
struct KeyRule {
  std::string_view key;
  std::string_view label;  // empty: the key sets no label
  void (*read)(Context&);
};

template <class Context>
void runKeyLoop(SectionReader& reader, std::span<const KeyRule<Context>> rules, Context& context,
                std::string_view initialLabel, std::string& label) {
  for (;;) {
    label = initialLabel;
    if (!reader.nextLine()) return;
    for (const KeyRule<Context>& rule : rules) {
      if (!rule.label.empty()) label = rule.label;
      if (!reader.at(rule.key)) continue;
      if (!reader.collecting()) {
        rule.read(context);
        continue;
      }
      reader.beginKey(rule.key);
      try {
        rule.read(context);
      } catch (const SectionFault&) {
        reader.fault();
      } catch (const FatalError& e) {
        reader.fault(e.message());
      }
    }
  }
}

// Puts `reader` in collecting mode when `log` is given: each fault goes to `log` with the reader's
// file and current line, and `fileMessage()` (read when the fault happens) as the message where
// the file's own message applies. stopCollecting ends the mode when the load is done.
template <class FileMessage>
void collectInto(SectionReader& reader, FaultLog* log, FileMessage fileMessage) {
  if (!log) return;
  reader.collectFaults(
      [&reader, log, fileMessage](std::string_view own) {
        log->add(reader.path(), reader.lineNumber(), own.empty() ? fileMessage() : std::string(own));
      },
      &log->linesOf(reader.path()));
}
inline void stopCollecting(SectionReader& reader) { reader.collectFaults(nullptr, nullptr); }

// A table about to take one more row than it can hold is a faulty file, never an overrun.
inline void requireRoom(size_t rows, size_t capacity) {
  if (rows >= capacity) throw SectionFault("more rows than the table holds (" + std::to_string(capacity) + ")");
}

}  // namespace kestrel
