#include "tools/run/grading_files.h"

#include <QApplication>
#include <clocale>
#include <fstream>
#include <memory>

#include "core/grade/report_files.h"
#include "platform/qt/run_charts.h"

namespace kestrel::run {

namespace {

bool writeFile(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.flush();
  return static_cast<bool>(out);
}

// The charts are graphics widgets: they need an application, which a headless runner makes on
// the offscreen platform, once, when a plot is asked for.
void ensureApplication() {
  if (QCoreApplication::instance()) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "kestrel-run";
  static char* argv[] = {name, nullptr};
  static std::unique_ptr<QApplication> app = std::make_unique<QApplication>(argc, argv);
  std::setlocale(LC_NUMERIC, "C");  // the application takes the user's locale; the runner's numbers do not
}

}  // namespace

std::optional<std::string> writeGradingFiles(const RunOptions& options, const grade::GradeReport& report) {
  if (!options.report.empty() && !writeFile(options.report, grade::reportJson(report)))
    return "kestrel-run: cannot write the report " + options.report.string();
  if (!options.plot.empty()) {
    ensureApplication();
    const QByteArray svg = runCurvesSvg(report);
    if (!writeFile(options.plot, std::string_view(svg.constData(), static_cast<size_t>(svg.size()))))
      return "kestrel-run: cannot write the plot " + options.plot.string();
  }
  return std::nullopt;
}

}  // namespace kestrel::run
