// SPDX-License-Identifier: GPL-2.0-or-later
// Reordering and removing rows of the image list page. Selections are row indexes in
// ascending order; each function returns the rows the moved photos occupy afterwards, so the
// page can keep them selected.
#pragma once

#include <vector>

#include "images/pageimages.h"

namespace rowmoves
{

// One row up (down); nothing moves when the first (last) selected row is at the edge.
std::vector<int> Up(std::vector<PageImage>& rows, const std::vector<int>& selected);
std::vector<int> Down(std::vector<PageImage>& rows, const std::vector<int>& selected);
// The selected photos, in their order, to the start (end) of the list.
std::vector<int> Top(std::vector<PageImage>& rows, const std::vector<int>& selected);
std::vector<int> Bottom(std::vector<PageImage>& rows, const std::vector<int>& selected);
// Removes the selected rows; rows out of range are ignored.
void Remove(std::vector<PageImage>& rows, const std::vector<int>& selected);

} // namespace rowmoves
