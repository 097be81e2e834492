#pragma once

namespace kestrel {

// The application's working copies of the two inter-character gaps. The
// options sheet edits these, so that it can run from the code dialog before
// the document takes any value; the document fills them when it is created.
struct WorkingGaps {
    int codabarGapX = 0;
    int code39GapX = 0;
};

}  // namespace kestrel
