#pragma once

#include <cstddef>
#include <vector>

// A path search's open list: a heap of entries with the smallest `f` on top. Its operations
// are std::push_heap, pop_heap and make_heap with a "greater on f" order, step for step (a
// hole sifted down to a leaf, then the value sifted up), since their order among equal
// entries decides which of two equally cheap chains a search keeps. Written out, a child is
// chosen without a branch, and the rebuild leaves out the steps that cannot move anything.
namespace OpenHeap {

template <typename Entry>
void siftUp(Entry* heap, std::ptrdiff_t hole, std::ptrdiff_t top, Entry value) {
    std::ptrdiff_t parent = (hole - 1) / 2;
    while (hole > top && heap[parent].f > value.f) {
        heap[hole] = heap[parent];
        hole = parent;
        parent = (hole - 1) / 2;
    }
    heap[hole] = value;
}

template <typename Entry>
void siftDown(Entry* heap, std::ptrdiff_t hole, std::ptrdiff_t length, Entry value) {
    const std::ptrdiff_t top = hole;
    std::ptrdiff_t child = hole;
    while (child < (length - 1) / 2) {
        child = 2 * (child + 1);
        child -= static_cast<std::ptrdiff_t>(heap[child].f > heap[child - 1].f);
        heap[hole] = heap[child];
        hole = child;
    }
    if ((length & 1) == 0 && child == (length - 2) / 2) {
        child = 2 * (child + 1);
        heap[hole] = heap[child - 1];
        hole = child - 1;
    }
    siftUp(heap, hole, top, value);
}

template <typename Entry>
void push(std::vector<Entry>& heap, Entry entry) {
    heap.push_back(entry);
    siftUp(heap.data(), static_cast<std::ptrdiff_t>(heap.size()) - 1, 0, entry);
}

// Takes the top entry off a heap that is not empty.
template <typename Entry>
Entry pop(std::vector<Entry>& heap) {
    const Entry top = heap.front();
    const Entry last = heap.back();
    heap.pop_back();
    if (!heap.empty()) {
        siftDown(heap.data(), 0, static_cast<std::ptrdiff_t>(heap.size()), last);
    }
    return top;
}

// make_heap. By the time a parent is sifted down both its children head heaps, so a value
// below both would go back where it was: that step is left out. This holds only when every
// two values compare, so `ordered` must be false when one may be NaN.
template <typename Entry>
void rebuild(std::vector<Entry>& heap, bool ordered) {
    Entry* entries = heap.data();
    const auto length = static_cast<std::ptrdiff_t>(heap.size());
    for (std::ptrdiff_t parent = (length - 2) / 2; length >= 2 && parent >= 0; --parent) {
        const Entry value = entries[parent];
        const std::ptrdiff_t left = 2 * parent + 1;
        if (ordered && value.f < entries[left].f &&
            (left + 1 == length || value.f < entries[left + 1].f)) {
            continue;
        }
        siftDown(entries, parent, length, value);
    }
}

} // namespace OpenHeap
