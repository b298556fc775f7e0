// The undo history on the largest log a file can count: the cost of one edit, of taking back a
// list deletion that renumbers every dive, and the memory 10,000 steps hold.
#include "session/Session.h"
#include "store/LogOps.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <malloc.h>

#include <cstdio>

namespace {

size_t heapInUse() { return mallinfo2().uordblks; }

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    store::AppState state;
    store::StartNewLog(state);
    for (int which = 0; which < 4; ++which)
        for (int e = 1; e < 50; ++e)
            state.list(which).push_back({QStringLiteral("Entry %1").arg(e), {}, {}});
    state.Dives.resize(store::MaxDives + 1);
    for (int i = 1; i <= store::MaxDives; ++i) {
        store::DiveRecord& d = state.Dives[size_t(i)];
        d.DiveData[store::field::MaxDepth] = int16_t(i % 130);
        d.ListData = {int16_t(i % 50), int16_t(i % 50), int16_t(i % 50), int16_t(i % 50)};
        d.Comments = QStringLiteral("Calm sea, turtles on the reef, %1 m visibility").arg(i % 40);
    }
    session::Session s(state);

    constexpr int Edits = 10000;
    const size_t heapBefore = heapInUse();
    QElapsedTimer t;
    t.start();
    for (int k = 0; k < Edits; ++k) {
        s.setNumber(1 + (k * 7) % store::MaxDives, k % 10, int16_t(k % 300 + 1));
        s.endTyping(); // every edit a step of its own
    }
    const double perEdit = double(t.nsecsElapsed()) / 1000.0 / Edits;
    const double heldMb = double(heapInUse() - heapBefore) / (1024.0 * 1024.0);

    lists::ListDraft draft = lists::startDraft(state, store::field::Location);
    draft.selected = 1;
    lists::deleteDraftEntry(draft);
    t.restart();
    s.commitListDraft(store::field::Location, draft);
    const double deleteMs = double(t.nsecsElapsed()) / 1e6;
    t.restart();
    s.undoStack().undo();
    const double undoMs = double(t.nsecsElapsed()) / 1e6;

    std::printf("dives %d\n", state.DiveCount());
    std::printf("field edit pushed: %.2f us on average over %d (target <= 20)\n", perEdit, Edits);
    std::printf("memory held by %d steps: %.2f MB (target <= 5)\n", s.undoStack().count() - 1,
                heldMb);
    std::printf("list delete renumbering every dive: %.2f ms; its undo: %.2f ms (target <= 10)\n",
                deleteMs, undoMs);
    return perEdit <= 20 && heldMb <= 5 && undoMs <= 10 ? 0 : 1;
}
