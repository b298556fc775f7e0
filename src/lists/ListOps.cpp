#include "ListOps.h"

#include "store/Text.h"

#include <algorithm>

namespace lists {

void renumberAfterDelete(store::AppState& state, int which, int deleted) {
    if (which < 0 || which > 3 || deleted < 0)
        return;
    for (int i = 1; i <= state.DiveCount(); ++i) {
        int16_t& v = state.Dives[static_cast<size_t>(i)].ListData[static_cast<size_t>(which)];
        if (v == deleted)
            v = 0;
        else if (v > deleted)
            --v;
    }
}

int AddListEntry(store::AppState& state, int which, const QString& name) {
    store::RefList& list = state.list(which);
    if (static_cast<int>(list.size()) >= MaxEntries)
        return -1;
    list.push_back(store::ListEntry{name, {}, {}});
    return static_cast<int>(list.size()) - 1;
}

QString entryName(const store::AppState& state, int which, int index) {
    const store::RefList& list = state.list(which);
    if (index < 0 || index >= static_cast<int>(list.size()))
        return {};
    return list[static_cast<size_t>(index)].Name;
}

int listForKind(int kind) {
    return kind == store::field::Buddy || kind == store::field::Gear ? kind : store::field::Type;
}

QString kindCaption(int kind) {
    switch (listForKind(kind)) {
    case store::field::Buddy:
        return QStringLiteral("Dive Buddies");
    case store::field::Gear:
        return QStringLiteral("Gear Records");
    default:
        return QStringLiteral("Dive Types");
    }
}

ListDraft startDraft(const store::AppState& state, int which) {
    ListDraft draft;
    draft.entries = state.list(which);
    const bool diveShown = state.CurrentDive >= 1 && state.CurrentDive <= state.DiveCount();
    if (diveShown && which >= 0 && which <= 3) {
        draft.selected = state.current().ListData[static_cast<size_t>(which)];
        if (!draft.hasSelection())
            draft.selected = -1;
    }
    return draft;
}

int addDraftEntry(ListDraft& draft, const QString& name) {
    if (draft.hasSelection() || name.isEmpty() ||
        static_cast<int>(draft.entries.size()) >= MaxEntries)
        return -1;
    draft.entries.push_back(store::ListEntry{name, {}, {}});
    draft.selected = static_cast<int>(draft.entries.size()) - 1;
    return draft.selected;
}

DeleteOutcome deleteDraftEntry(ListDraft& draft) {
    if (draft.entries.size() < 2)
        return DeleteOutcome::OnlyEntry;
    if (!draft.hasSelection())
        return DeleteOutcome::NoSelection;
    draft.entries.erase(draft.entries.begin() + draft.selected);
    draft.deleted.push_back(draft.selected);
    draft.selected = -1;
    return DeleteOutcome::Deleted;
}

bool setDraftInfo(ListDraft& draft, const QString& info) {
    if (!draft.hasSelection())
        return false;
    draft.entries[static_cast<size_t>(draft.selected)].Info = info;
    return true;
}

bool setDraftPicture(ListDraft& draft, const QString& path) {
    if (!draft.hasSelection())
        return false;
    draft.entries[static_cast<size_t>(draft.selected)].Picture = path;
    return true;
}

void commitDraft(store::AppState& state, int which, ListDraft& draft) {
    if (which < 0 || which > 3 || draft.entries.empty())
        return;
    for (const int deleted : draft.deleted)
        renumberAfterDelete(state, which, deleted);
    draft.deleted.clear();
    state.list(which) = draft.entries;
}

bool pathStorable(const QString& path) {
    return store::text::fromCp1252(store::text::toCp1252(path)) == path;
}

QString pictureFileName(const QString& path) {
    const qsizetype cut = std::max(path.lastIndexOf(QLatin1Char('/')),
                                   path.lastIndexOf(QLatin1Char('\\')));
    return path.mid(cut + 1);
}

QString sharedListChange(const store::RefList& before, const store::RefList& after) {
    for (size_t i = 0; i < before.size(); ++i) {
        if (i >= after.size())
            return QStringLiteral("entry %1 (\"%2\") would be removed").arg(i).arg(before[i].Name);
        if (after[i].Name != before[i].Name)
            return QStringLiteral("entry %1 (\"%2\") would become \"%3\"")
                .arg(i)
                .arg(before[i].Name, after[i].Name);
    }
    return {};
}

} // namespace lists
