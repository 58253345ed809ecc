#include "link/WidestLine.h"

#include <algorithm>

WidestLine::WidestLine(int blockLines) : m_blockLines(std::max(1, blockLines)) {}

void WidestLine::Append(int width) {
    if (m_blocks.empty() || m_blocks.back().Lines == m_blockLines)
        m_blocks.push_back(Block{0, 0});
    Block& last = m_blocks.back();
    ++last.Lines;
    last.Widest = std::max(last.Widest, width);
    m_widest = std::max(m_widest, width);
}

void WidestLine::DropOldest(int count) {
    while (count > 0 && !m_blocks.empty()) {
        Block& first = m_blocks.front();
        if (count < first.Lines) {
            first.Lines -= count;
            break;
        }
        count -= first.Lines;
        m_blocks.pop_front();
    }
    m_widest = 0;
    for (const Block& block : m_blocks)
        m_widest = std::max(m_widest, block.Widest);
}

void WidestLine::Clear() {
    m_blocks.clear();
    m_widest = 0;
}
