#pragma once

#include <compare>
#include <cstddef>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>

namespace bw::check {

// A text its copies share: a check's rows repeat their library file's path and, file after file,
// the same reference paths. One counted copy each spares an allocation per row, which a check of
// a large library feels.
class SharedText {
  public:
    SharedText() = default;
    SharedText(std::string text)  // converts, as a std::string field would
        : text_(text.empty() ? nullptr : std::make_shared<const std::string>(std::move(text))) {}
    SharedText(const char* text) : SharedText(std::string(text)) {}
    SharedText(std::string_view text) : SharedText(std::string(text)) {}

    const std::string& str() const { return text_ ? *text_ : Empty(); }
    operator const std::string&() const { return str(); }

    bool empty() const { return !text_; }
    size_t size() const { return str().size(); }
    const char* c_str() const { return str().c_str(); }
    int compare(const SharedText& other) const { return str().compare(other.str()); }

    friend bool operator==(const SharedText& a, const SharedText& b) {
        return a.text_ == b.text_ || a.str() == b.str();
    }
    friend bool operator==(const SharedText& a, const std::string& b) { return a.str() == b; }
    friend bool operator==(const SharedText& a, const char* b) { return a.str() == b; }
    friend std::strong_ordering operator<=>(const SharedText& a, const SharedText& b) {
        return a.str() <=> b.str();
    }
    friend std::ostream& operator<<(std::ostream& out, const SharedText& t) {
        return out << t.str();
    }

  private:
    static const std::string& Empty() {
        static const std::string empty;
        return empty;
    }
    std::shared_ptr<const std::string> text_;
};

}  // namespace bw::check
