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

int field::ratingFromName(QStringView word) {
    for (size_t r = 0; r < RatingNames.size(); ++r)
        if (word.compare(QLatin1String(RatingNames[r]), Qt::CaseInsensitive) == 0)
            return static_cast<int>(r);
    return -1;
}

QString field::ratingName(int rating) {
    if (rating < 0 || rating >= static_cast<int>(RatingNames.size())) return {};
    return QLatin1String(RatingNames[static_cast<size_t>(rating)]);
}

} // namespace store
