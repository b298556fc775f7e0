#pragma once

#include "Records.h"

#include <QString>

namespace store {

// Which names may be a diver's data files. Names come from divers.dvl and the settings, which
// anyone can edit; a name that is not one of the diver's own .dvl files would have a save
// write a log over a text file, the list of divers or the settings.
namespace fileio {

// "log", "location list", "dive type list", "buddy list", "gear list", "profile", for the
// roles of FileSet::names() in that order.
const char* roleName(size_t role);

// Why name `role` of `files` cannot be that data file, as what the name is ("not a .dvl
// name", "the list of divers", "also his log file"); empty when it can. A data file has a
// plain name in the log folder ending in ".dvl"; it is not "divers.dvl", not `settingsFile`
// (when given), and not the file of an earlier role of the same set, under any name.
QString dataFileNameProblem(const FileSet& files, size_t role, const QString& settingsFile = {});

// Every name of the set that cannot be its data file, with why.
struct NameProblem {
    size_t role;
    QString name;
    QString why;
};
std::vector<NameProblem> fileSetNameProblems(const FileSet& files,
                                             const QString& settingsFile = {});

} // namespace fileio

} // namespace store
