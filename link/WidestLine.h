#pragma once

#include <deque>

// The width of the widest line of a list whose lines are appended at its end
// and dropped from its start, each line measured once. Consecutive lines are
// grouped in blocks that keep only their widest width, so a million lines
// cost a few hundred blocks. A block that a drop cuts keeps its width until
// it goes whole: the widest line can be overstated by that block's dropped
// lines, never understated.
class WidestLine {
public:
    explicit WidestLine(int blockLines = 4096);

    void Append(int width);
    void DropOldest(int count);
    void Clear();
    int Widest() const { return m_widest; }

private:
    struct Block {
        int Lines;
        int Widest;
    };

    int m_blockLines;
    std::deque<Block> m_blocks;
    int m_widest = 0;
};
