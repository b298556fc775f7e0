#pragma once

#include "store/AppState.h"

// A small log whose third dive is the worked example: Blue Hole, Wall, Ann, Wetsuit, a good
// dive on 7/4/1997 with saltwater and boat set. Dives 1 and 2 bring the running totals to
// 120 minutes and an average depth of 55 at dive 3.
store::AppState sampleLog();

// A log of `count` plain dives, offset `offset`, each with a comment naming its index.
store::AppState numberedLog(int count, int16_t offset);

// A log of `count` dives in which every text (the diver, the list names, infos and pictures,
// the comments, the profile notes) holds & < > " and characters outside ASCII, at a different
// place in each; every seventh comment also ends in a character outside Windows-1252.
store::AppState awkwardLog(int count);
