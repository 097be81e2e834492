#pragma once

namespace kestrel {

// Every picture takes a few buffers of a few hundred kilobytes. Served from
// fresh memory mappings they cost more in page faults than the drawing
// itself; kept in the heap they are reused. Call once at start.
void KeepPictureBuffersInHeap();

}  // namespace kestrel
