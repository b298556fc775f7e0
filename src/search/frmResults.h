#pragma once

#include "search/DiveSearch.h"
#include "store/AppState.h"

#include <QDialog>

#include <memory>

namespace Ui {
class frmResults;
}

// "Results": what the last search found, beside the main window and without blocking it.
// It moves the main window by setting CurrentDive and asking for goToDive(); the main window
// does the rest.
class frmResults : public QDialog {
    Q_OBJECT
  public:
    // `parent` is the main window: the results sit at its left and close with it.
    explicit frmResults(AppState& state, QWidget* parent);
    ~frmResults() override;

    // Fills the figures and the list from FlaggedDives.
    void Fill();
    // Dive `index` has been removed from the log: the list keeps naming the same dives.
    void diveRemoved(int index);
    // Print hands the matches on only once there is somewhere to hand them, and only while
    // there are any.
    void setPrintAvailable(bool available);
    // Says which dives the search walked (bad boxes are read as 0 or "all" without a word).
    void setSearched(const search::SearchedRange& range);

  signals:
    void goToDive();        // CurrentDive holds the dive to show
    void changeRequested(); // the selection dialog is wanted again
    void printRequested();  // PrintList and PrintListReady are set

  private:
    void place();
    void jump();
    void print();
    void closeAndForget();

    void enablePrint();

    AppState& state;
    std::unique_ptr<Ui::frmResults> ui;
    bool printAvailable = false;
};
