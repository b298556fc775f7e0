#include "FileNames.h"

#include "divers/DiverList.h"
#include "FileIO.h"

namespace store {

namespace fileio {

const char* roleName(size_t role) {
    return role < FileSet::Roles.size() ? FileSet::Roles[role] : "data";
}

QString dataFileNameProblem(const FileSet& files, size_t role, const QString& settingsFile) {
    const auto names = files.names();
    const QString& name = names.at(role);
    if (!isSafeFileName(name))
        return QStringLiteral("unsafe (a data file must be a bare name in the log folder)");
    if (!name.endsWith(QLatin1String(".dvl"), Qt::CaseInsensitive) || name.size() == 4)
        return QStringLiteral("not a .dvl name");
    if (name.compare(divers::ListFileName, Qt::CaseInsensitive) == 0 ||
        sameFile(name, divers::ListFileName))
        return QStringLiteral("the list of divers");
    if (!settingsFile.isEmpty() && sameFile(name, settingsFile))
        return QStringLiteral("the settings file");
    for (size_t earlier = 0; earlier < role; ++earlier)
        if (names[earlier] == name || sameFile(names[earlier], name))
            return QStringLiteral("also his %1 file").arg(QLatin1String(roleName(earlier)));
    return {};
}

std::vector<NameProblem> fileSetNameProblems(const FileSet& files, const QString& settingsFile) {
    std::vector<NameProblem> problems;
    const auto names = files.names();
    for (size_t role = 0; role < names.size(); ++role)
        if (QString why = dataFileNameProblem(files, role, settingsFile); !why.isEmpty())
            problems.push_back({role, names[role], std::move(why)});
    return problems;
}

} // namespace fileio

} // namespace store
