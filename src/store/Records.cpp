#include "Records.h"

namespace store {

FileSet FileSet::numbered(int n) {
    const QString num = QString::number(n);
    auto name = [&num](const char* prefix) {
        return QLatin1String(prefix) + num + QLatin1String(".dvl");
    };
    FileSet f;
    f.LogFile = name("log");
    f.LocFile = name("loc");
    f.TypeFile = name("type");
    f.BudFile = name("bud");
    f.GearFile = name("gear");
    f.ProfFile = name("prof");
    return f;
}

} // namespace store
