#pragma once
// Unique airspace names: instruments address airspaces by name, so a list read
// from several files is offered "(1)", "(2)", ... on its repeated names.
#include "airspace/ctr_area.hpp"
#include "base/user_interface.hpp"

namespace trelvik {

// Asks "Fix name by appending number ?" once, at the first repeated name; with
// Yes every later airspace of an earlier one's name gets "(n)" appended in list
// order, the name cut first so that the whole stays within 50 characters.
void FixEqualCtrNames(UserInterface& ui, CtrList& list);

}  // namespace trelvik
