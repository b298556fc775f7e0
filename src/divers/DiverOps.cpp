#include "DiverOps.h"

#include "settings/Settings.h"
#include "DiverList.h"

namespace divers {

namespace {
bool valid(const store::AppState& state, int position) {
    return position >= 1 && position <= static_cast<int>(state.DiverList.size());
}
} // namespace

store::FileProblems SetDefault(store::AppState& state, int position) {
    if (!valid(state, position)) return {};
    state.DefaultDiver = static_cast<int16_t>(position);
    settings::saveDefaultDiver(state.DiverList[static_cast<size_t>(position - 1)], position);
    // The settings hold a position in the list, so the list on disk must be the one it counts in.
    return SaveDiverList(state);
}

store::FileProblems DeleteDiver(store::AppState& state, int position) {
    if (checkDelete(state, position) != DeleteCheck::Ok) return {};
    store::FileProblems failures;
    // A default position past the list (a divers.dvl from elsewhere) names nobody to follow.
    const bool follow = position < state.DefaultDiver && valid(state, state.DefaultDiver);
    const store::DiverEntry& gone = state.DiverList[static_cast<size_t>(position - 1)];
    if (store::fileio::FileExists(gone.Files.LogFile)) failures = DeleteData(state, position);
    state.DiverList.erase(state.DiverList.begin() + (position - 1));
    // Written at once: a list that still named him would bring him back without his files,
    // and the default position stored below would count him.
    store::FileProblems more =
        follow ? SetDefault(state, state.DefaultDiver - 1) : SaveDiverList(state);
    failures.insert(failures.end(), more.begin(), more.end());
    return failures;
}

OffsetCheck checkOffset(const QString& text) {
    OffsetCheck r;
    if (text.isEmpty()) return r;
    bool ok = false;
    const int v = text.trimmed().toInt(&ok, 10);
    if (!ok || v < 0 || v > MaxOffset) {
        r.kind = OffsetCheck::OutOfRange;
        return r;
    }
    r.kind = OffsetCheck::Accepted;
    r.value = static_cast<int16_t>(v);
    return r;
}

} // namespace divers
