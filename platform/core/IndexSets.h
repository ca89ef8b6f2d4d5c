#pragma once
// Taking many elements out of a vector, or putting many in, in one pass: the bulk row
// operations of the grids, where one erase or insert per element would cost a shift each.

#include <utility>
#include <vector>

// Removes the elements at the given indexes (ascending, distinct, inside v).
template <class T>
void EraseIndexes(std::vector<T>& v, const std::vector<int>& indexes)
{
    size_t out = 0, next = 0;
    for (size_t i = 0; i < v.size(); ++i) {
        if (next < indexes.size() && static_cast<size_t>(indexes[next]) == i) {
            ++next;
            continue;
        }
        if (out != i)
            v[out] = std::move(v[i]);
        ++out;
    }
    v.resize(out);
}

// Inserts made elements so that they stand at the given indexes of the result (ascending,
// distinct, each at most the number of elements before it); the others keep their order.
template <class T, class Make>
void InsertAtIndexes(std::vector<T>& v, const std::vector<int>& positions, Make make)
{
    std::vector<T> out;
    out.reserve(v.size() + positions.size());
    size_t from = 0, next = 0;
    while (from < v.size() || next < positions.size()) {
        if (next < positions.size() && static_cast<size_t>(positions[next]) == out.size()) {
            out.push_back(make());
            ++next;
        } else if (from < v.size()) {
            out.push_back(std::move(v[from++]));
        } else {
            out.push_back(make());  // a position past the end: the new element goes last
            ++next;
        }
    }
    v = std::move(out);
}
