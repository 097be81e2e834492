#pragma once

namespace kestrel {

// How an encoder ended. Refused: a check character or the digits failed the
// verification that `Check` asks for. Unencodable: the text holds what the
// symbology cannot draw, or the symbol does not fit the sequence or the
// geometry is impossible. Both leave the document as it was.
enum class EncodeOutcome { Built, Refused, Unencodable };

}  // namespace kestrel
