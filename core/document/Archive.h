#pragma once

#include <string>
#include <utility>

namespace kestrel {

// The document's serialisation channel: text going out when storing, text
// coming in when loading. Other programs exchange data with the document
// through it (code text in, module text out).
class Archive {
public:
    static Archive ForStoring() { return Archive(true, {}); }
    static Archive ForLoading(std::string text) { return Archive(false, std::move(text)); }

    bool IsStoring() const { return storing_; }
    // Storing: what has been written. Loading: what there is to read.
    const std::string& Text() const { return text_; }
    void Write(const std::string& text) { text_ += text; }

private:
    Archive(bool storing, std::string text) : storing_(storing), text_(std::move(text)) {}

    bool storing_;
    std::string text_;
};

}  // namespace kestrel
