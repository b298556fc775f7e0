#pragma once

#include "search/DiveSearch.h"
#include "store/AppState.h"

#include <QDialog>

#include <memory>

namespace Ui {
class frmResults;
}

namespace search {

// "Results": what the last search found, beside the main window and without blocking it.
// It asks the main window to show a dive with goToDive(index); the main window does the rest.
class frmResults : public QDialog {
    Q_OBJECT
  public:
    // `parent` is the main window: the results sit at its left and close with it.
    // `flagged` are the dives the search found (element 0 holds no dive).
    frmResults(const store::AppState& state, std::vector<int16_t> flagged, QWidget* parent);
    ~frmResults() override;

    // Fills the figures and the list from the dives found.
    void Fill();
    // Dive `index` has been removed from the log: the list keeps naming the same dives.
    void diveRemoved(int index);
    // Print hands the matches on only once there is somewhere to hand them, and only while
    // there are any.
    void setPrintAvailable(bool available);
    // Says which dives the search walked (bad boxes are read as 0 or "all" without a word).
    void setSearched(const search::SearchedRange& range);

  signals:
    void goToDive(int index);                   // the dive to show
    void changeRequested();                     // the selection dialog is wanted again
    void printRequested(std::vector<int> dives); // the dives found, for the output dialog
    void forgotten();                           // Close: the selection is over

  private:
    void place();
    void jump();
    void print();
    void closeAndForget();

    void enablePrint();

    const store::AppState& state;
    std::vector<int16_t> flagged;
    std::unique_ptr<Ui::frmResults> ui;
    bool printAvailable = false;
};

} // namespace search
