#include "tools/run/grading_files.h"

#include <fstream>

#include "core/grade/report_files.h"
#include "platform/qt/chart_document.h"
#include "platform/qt/run_charts.h"

namespace kestrel::run {

namespace {

bool writeFile(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.flush();
  return static_cast<bool>(out);
}

}  // namespace

std::optional<std::string> writeGradingFiles(const RunOptions& options, const grade::GradeReport& report) {
  if (!options.report.empty() && !writeFile(options.report, grade::reportJson(report)))
    return "kestrel-run: cannot write the report " + options.report.string();
  if (!options.plot.empty()) {
    ensureChartApplication();
    const QByteArray svg = runCurvesSvg(report);
    if (!writeFile(options.plot, std::string_view(svg.constData(), static_cast<size_t>(svg.size()))))
      return "kestrel-run: cannot write the plot " + options.plot.string();
  }
  return std::nullopt;
}

}  // namespace kestrel::run
