#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <vector>

#include "endo/tei/tei_slot_queue.hpp"

namespace ilvex::testing {
namespace {

std::string value_of(std::size_t i) { return "a value long enough to live on the heap " + std::to_string(i); }

// Pushes and drops in steps that cross chunk boundaries at every offset,
// checking every element still held against a plain model and that the
// address of the element pushed first stays put while the queue grows.
TEST(TeiSlotQueue, KeepsOrderAndAddressesAcrossChunks) {
    for (const std::size_t drop : {1u, 7u, 255u, 256u, 257u, 600u}) {
        TeiSlotQueue<std::string> queue;
        std::size_t first = 0;
        std::size_t next = 0;
        for (int round = 0; round < 12; ++round) {
            queue.push_back() = value_of(next++);
            const std::string* front = &queue[0];
            for (std::size_t k = 0; k < 700; ++k) queue.push_back() = value_of(next++);
            ASSERT_EQ(front, &queue[0]);
            const std::size_t count = std::min(drop, queue.size());
            queue.drop_front(count);
            first += count;
            ASSERT_EQ(queue.size(), next - first);
            for (std::size_t i = 0; i < queue.size(); ++i) ASSERT_EQ(queue[i], value_of(first + i)) << drop;
            ASSERT_EQ(queue.back(), value_of(next - 1));
        }
        queue.drop_front(queue.size());
        EXPECT_EQ(queue.size(), 0u);
        queue.push_back() = value_of(0);
        EXPECT_EQ(queue[0], value_of(0));
    }
}

}  // namespace
}  // namespace ilvex::testing
