#include "AppState.h"

RefList& AppState::list(int which) {
    switch (which) {
    case 0:
        return LocationList;
    case 1:
        return TypeList;
    case 2:
        return BuddyList;
    default:
        return GearList;
    }
}

const RefList& AppState::list(int which) const {
    return const_cast<AppState*>(this)->list(which);
}
