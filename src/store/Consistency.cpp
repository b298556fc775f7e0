#include "Consistency.h"

#include "Text.h"

namespace store {

namespace consistency {

namespace {

const char* targetName(Target t) {
    switch (t) {
    case Target::Location:
        return "location";
    case Target::Type:
        return "dive type";
    case Target::Buddy:
        return "buddy";
    case Target::Gear:
        return "gear";
    case Target::Profile:
        break;
    }
    return "profile";
}

// "0-4" for a list of five, or a note that nothing can be referred to.
QString rangeText(int size, int first) {
    if (size <= first)
        return QStringLiteral("it holds none");
    return QStringLiteral("%1-%2").arg(first).arg(size - 1);
}

} // namespace

std::vector<BadReference> badReferences(const AppState& state) {
    std::vector<BadReference> bad;
    const int profiles = static_cast<int>(state.Profiles.size());
    for (int i = 1; i <= state.DiveCount(); ++i) {
        const DiveRecord& d = state.Dives[static_cast<size_t>(i)];
        for (int which = 0; which < 4; ++which) {
            const int v = d.ListData[static_cast<size_t>(which)];
            if (v < 0 || v >= static_cast<int>(state.list(which).size()))
                bad.push_back({i, static_cast<Target>(which), v});
        }
        // Record 0 is never a dive's profile: 0 means "none".
        if (d.ProfileNum < 0 || d.ProfileNum >= profiles)
            bad.push_back({i, Target::Profile, d.ProfileNum});
    }
    return bad;
}

QString describe(const AppState& state, const BadReference& bad) {
    const int number = bad.dive + state.DiveOffset;
    if (bad.target == Target::Profile)
        return QStringLiteral("dive %1: profile %2 is not a stored profile (%3)")
            .arg(number)
            .arg(bad.value)
            .arg(rangeText(static_cast<int>(state.Profiles.size()), 1));
    const int which = static_cast<int>(bad.target);
    const QString name = QLatin1String(targetName(bad.target));
    return QStringLiteral("dive %1: %2 %3 is outside the %2 list (%4)")
        .arg(number)
        .arg(name)
        .arg(bad.value)
        .arg(rangeText(static_cast<int>(state.list(which).size()), 0));
}

FileProblems checkReferences(const AppState& state) {
    FileProblems problems;
    for (const BadReference& bad : badReferences(state))
        problems.push_back({state.Files.LogFile, describe(state, bad)});
    return problems;
}

FileProblems unstorableTexts(const AppState& state) {
    FileProblems problems;
    const auto note = [&problems](const QString& file, const QString& what, const QString& t) {
        const QStringList chars = text::unstorable(t);
        if (!chars.isEmpty())
            problems.push_back({file, QStringLiteral("%1: %2 cannot be stored (the files hold "
                                                     "Windows-1252 text) and became '?'")
                                          .arg(what, chars.join(QStringLiteral(" ")))});
    };
    for (int i = 1; i <= state.DiveCount(); ++i)
        note(state.Files.LogFile, QStringLiteral("dive %1 comments").arg(i + state.DiveOffset),
             state.Dives[static_cast<size_t>(i)].Comments);
    const QString listFiles[4] = {state.Files.LocFile, state.Files.TypeFile, state.Files.BudFile,
                                  state.Files.GearFile};
    for (int which = 0; which < 4; ++which) {
        const RefList& list = state.list(which);
        for (size_t e = 0; e < list.size(); ++e) {
            const QString entry = QStringLiteral("entry %1").arg(e);
            note(listFiles[which], entry + QStringLiteral(" name"), list[e].Name);
            note(listFiles[which], entry + QStringLiteral(" info"), list[e].Info);
            note(listFiles[which], entry + QStringLiteral(" picture"), list[e].Picture);
        }
    }
    for (size_t p = 1; p < state.Profiles.size(); ++p)
        for (size_t n = 0; n < state.Profiles[p].Notes.size(); ++n)
            note(state.Files.ProfFile, QStringLiteral("profile %1 note %2").arg(p).arg(n + 1),
                 state.Profiles[p].Notes[n]);
    return problems;
}

} // namespace consistency

} // namespace store
