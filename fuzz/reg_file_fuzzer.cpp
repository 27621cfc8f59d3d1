// Settings files edited by hand, and settings of any shape written by the program. Whatever
// the bytes:
//   - a text the reader accepts, written out again, reads back as the same document, and
//     writing that gives the same text;
//   - a document of any key paths, value names, types and data, written out, reads back as
//     the same document (keys and values in the same order, spelled the same).
// The input is read both ways: as a settings text, and as pieces (see FuzzInput) naming
// values to set: key path, name, type (4 bytes), data length (1 byte), data.
// Covers: reg_file_format.cpp reg_document.cpp reg_value_data.cpp

#include "fuzz_check.h"
#include "fuzz_input.h"
#include "platform/reg_file_format.h"

using lumora::RegDocument;
using lumora::RegFileFormat;
using lumora::RegKeyEntry;
using lumora::RegValue;

namespace {

bool SameValues(const std::vector<RegValue>& a, const std::vector<RegValue>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].name != b[i].name || a[i].type != b[i].type || a[i].data != b[i].data) return false;
    }
    return true;
}

bool SameDocument(const RegDocument& a, const RegDocument& b) {
    const std::vector<RegKeyEntry>& left = a.keys();
    const std::vector<RegKeyEntry>& right = b.keys();
    if (left.size() != right.size()) return false;
    for (std::size_t i = 0; i < left.size(); ++i) {
        if (left[i].path != right[i].path || !SameValues(left[i].values, right[i].values)) return false;
    }
    return true;
}

// Written out and read back, the document is itself again.
void CheckRoundTrip(const RegDocument& document) {
    const std::string text = RegFileFormat::Serialize(document);
    const std::optional<RegDocument> read = RegFileFormat::Parse(text);
    FUZZ_CHECK(read, "what the writer writes, the reader reads");
    FUZZ_CHECK(SameDocument(*read, document), "a written document reads back the same");
    FUZZ_CHECK(RegFileFormat::Serialize(*read) == text, "writing what was read gives the same text");
}

void CheckText(std::string_view text) {
    const std::optional<RegDocument> document = RegFileFormat::Parse(text);
    if (document) CheckRoundTrip(*document);
}

void CheckBuiltDocument(FuzzInput input) {
    RegDocument document;
    for (int values = 0; !input.empty() && values < 64; ++values) {
        const std::string_view path = input.TakeText();
        RegValue value;
        value.name = std::string(input.TakeText());
        value.type = input.TakeU32();
        const std::string_view data = input.TakeBytes(input.TakeByte());
        value.data.assign(data.begin(), data.end());
        if (!RegDocument::IsValidKeyPath(path)) continue;
        document.SetValue(path, std::move(value));
    }
    CheckRoundTrip(document);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CheckText(std::string_view(reinterpret_cast<const char*>(data), data ? size : 0));
    CheckBuiltDocument(FuzzInput(data, size));
    return 0;
}
