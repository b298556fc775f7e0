#pragma once

#include "store/AppState.h"

#include <QIODevice>
#include <QStringList>
#include <QTextStream>

#include <functional>
#include <optional>
#include <vector>

namespace output {

// What to export, as the diver asked for it on the command line.
struct ExportRequest {
    QString format;                      // text, html, pdf, uddf or csv
    QString dives = QStringLiteral("all"); // all, FIRST-LAST or N,N,...
    bool withComments = true;
    bool withProfiles = false; // pdf: draw each dive's profile
    QString pageSize;          // pdf: A4 or Letter in any case; empty for the locale's
    std::optional<QString> units; // uddf, csv: imperial or metric; none: the diver's setting
    bool bom = false;          // csv: start with a byte order mark
    bool outGiven = false;     // -o was given
    QString outName;           // -o FILE, or "-" for standard output
};

// The command line's usage of export, for its messages.
extern const char* const ExportUsage;

// reefbook-cli export. `state` holds the open diver's log. Writes the text file or the HTML
// page of the chosen dives to BaseName + ".txt"/".htm" in the current folder, to outName, or
// with "-" as raw bytes to stdOut. Dive numbers are the ones the diver sees (index +
// offset). A range is corrected to the log the way the output dialog corrects its range
// fields; a list is written in its own order and every number in it must be a dive.
// Returns 0 when written; 2 with one line on err when the request cannot be used or the
// file cannot be written, and then nothing is written. Pictures that could not be put
// beside a page are warnings on err; the status stays 0. uddf and csv go to
// interchange::exportExchange.
//
// The printed pages need fonts and a painter, which this library does not have: "pdf" is
// written by `makePdf` (dives, comments, page size "A4", "Letter" or "" for the locale's,
// whether each dive's profile is drawn), and refused when none is given.
using PdfMaker =
    std::function<QByteArray(const store::AppState& state, const std::vector<int>& dives,
                             bool withComments, const QString& pageSize, bool withProfiles)>;
int exportCommand(store::AppState& state, const ExportRequest& request, QIODevice& stdOut,
                  QTextStream& err, const PdfMaker& makePdf = {});

// The dive indexes an --dives text names, read as exportCommand reads it; empty with `error`
// set when the text cannot be used.
std::vector<int> chooseDives(const store::AppState& state, const QString& text, QString* error);

} // namespace output
