// SPDX-License-Identifier: GPL-2.0-or-later
#include "images/rowmoves.h"

#include <algorithm>
#include <functional>

namespace rowmoves
{

namespace
{

bool valid(const std::vector<PageImage>& rows, const std::vector<int>& selected)
{
    return !selected.empty() && selected.front() >= 0 &&
           selected.back() < static_cast<int>(rows.size());
}

// The selected photos taken out of rows, in order; rows keeps the others.
std::vector<PageImage> takeOut(std::vector<PageImage>& rows, const std::vector<int>& selected)
{
    std::vector<PageImage> taken;
    std::vector<PageImage> kept;
    size_t next = 0;
    for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
        if (next < selected.size() && selected[next] == i) {
            taken.push_back(std::move(rows[i]));
            ++next;
        } else {
            kept.push_back(std::move(rows[i]));
        }
    }
    rows = std::move(kept);
    return taken;
}

} // namespace

std::vector<int> Up(std::vector<PageImage>& rows, const std::vector<int>& selected)
{
    if (!valid(rows, selected) || selected.front() == 0)
        return selected;
    std::vector<int> moved;
    for (int row : selected) {
        std::swap(rows[row - 1], rows[row]);
        moved.push_back(row - 1);
    }
    return moved;
}

std::vector<int> Down(std::vector<PageImage>& rows, const std::vector<int>& selected)
{
    if (!valid(rows, selected) || selected.back() + 1 == static_cast<int>(rows.size()))
        return selected;
    std::vector<int> moved(selected.size());
    for (size_t i = selected.size(); i-- > 0;) {
        std::swap(rows[selected[i]], rows[selected[i] + 1]);
        moved[i] = selected[i] + 1;
    }
    return moved;
}

std::vector<int> Top(std::vector<PageImage>& rows, const std::vector<int>& selected)
{
    if (!valid(rows, selected))
        return selected;
    std::vector<PageImage> taken = takeOut(rows, selected);
    std::vector<int> moved;
    for (int i = 0; i < static_cast<int>(taken.size()); ++i)
        moved.push_back(i);
    rows.insert(rows.begin(), std::make_move_iterator(taken.begin()),
                std::make_move_iterator(taken.end()));
    return moved;
}

std::vector<int> Bottom(std::vector<PageImage>& rows, const std::vector<int>& selected)
{
    if (!valid(rows, selected))
        return selected;
    std::vector<PageImage> taken = takeOut(rows, selected);
    std::vector<int> moved;
    for (int i = 0; i < static_cast<int>(taken.size()); ++i)
        moved.push_back(static_cast<int>(rows.size()) + i);
    rows.insert(rows.end(), std::make_move_iterator(taken.begin()),
                std::make_move_iterator(taken.end()));
    return moved;
}

void Remove(std::vector<PageImage>& rows, const std::vector<int>& selected)
{
    // By row, from the last: a photo listed twice loses the copy the user selected.
    std::vector<int> doomed;
    for (int row : selected)
        if (row >= 0 && row < static_cast<int>(rows.size()))
            doomed.push_back(row);
    std::sort(doomed.begin(), doomed.end(), std::greater<>());
    doomed.erase(std::unique(doomed.begin(), doomed.end()), doomed.end());
    for (int row : doomed)
        rows.erase(rows.begin() + row);
}

} // namespace rowmoves
