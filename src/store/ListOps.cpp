#include "ListOps.h"

namespace lists {

void renumberAfterDelete(AppState& state, int which, int deleted) {
    for (int i = 1; i <= state.DiveCount(); ++i) {
        int16_t& v = state.Dives[static_cast<size_t>(i)].ListData[static_cast<size_t>(which)];
        if (v == deleted)
            v = 0;
        else if (v > deleted)
            --v;
    }
}

int AddListEntry(AppState& state, int which, const QString& name) {
    RefList& list = state.list(which);
    if (static_cast<int>(list.size()) >= MaxEntries)
        return -1;
    list.push_back(ListEntry{name, {}, {}});
    return static_cast<int>(list.size()) - 1;
}

QString entryName(const AppState& state, int which, int index) {
    const RefList& list = state.list(which);
    if (index < 0 || index >= static_cast<int>(list.size()))
        return {};
    return list[static_cast<size_t>(index)].Name;
}

} // namespace lists
