// quorvel-cli downloads: the download archive, newest first.
#include <ostream>

#include "cli/cli_app.h"

namespace cli {

int CliApp::RunDownloads() {
  if (!NoArguments("downloads")) return kExitBadArguments;
  std::string error;
  std::vector<logger::ArchivedDownload> entries = archive_->List(error);
  if (!error.empty()) {
    err_ << error << '\n';
    return kExitDataError;
  }
  // One download a line, ready for "open FILE ...": the data file, the
  // recorder's serial number, when it was downloaded, when its log starts
  // and how many samples it holds.
  for (const logger::ArchivedDownload& entry : entries) {
    out_ << entry.dataPath << '\t' << entry.serial << '\t' << entry.downloadedAt << '\t' << entry.startTime << '\t';
    if (entry.samples >= 0) out_ << entry.samples;
    out_ << '\n';
    if (!entry.problem.empty()) err_ << entry.problem << '\n';
  }
  out_.flush();
  return kExitDone;
}

}  // namespace cli
