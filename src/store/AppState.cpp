#include "AppState.h"

#include <stdexcept>

namespace store {

RefList& AppState::list(int which) {
    switch (which) {
    case field::Location:
        return LocationList;
    case field::Type:
        return TypeList;
    case field::Buddy:
        return BuddyList;
    case field::Gear:
        return GearList;
    }
    // A wrong index is a fault in the caller; answering with some list would write a dive's
    // choice into the wrong one.
    throw std::out_of_range("AppState::list: no reference list " + std::to_string(which));
}

const RefList& AppState::list(int which) const {
    return const_cast<AppState*>(this)->list(which);
}

} // namespace store
