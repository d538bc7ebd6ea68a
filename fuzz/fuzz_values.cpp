// JSON and property-list decoding: the first byte chooses which, the rest is the document.
#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzInput.h"
#include "service/Values.h"

using namespace orvane;

namespace {

// Reads every member the way the decoders do.
void visit(const Value& v, int depth) {
    (void)intOf(&v);
    if (depth > 300) fuzz::require(false, "decoded depth stays within the limit");
    if (const auto* a = v.asArray())
        for (const Value& e : *a)
            visit(e, depth + 1);
    if (const auto* o = v.asObject())
        for (const auto& [k, e] : *o)
            visit(e, depth + 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput in(data, size);
    const bool plist = in.byte() & 1;
    const auto doc = in.part();
    std::optional<Value> v;
    if (plist) {
        v = decodePlist(doc);
    } else {
        v = decodeJson(doc);
        const auto object = decodeJsonObject(doc);
        fuzz::require(object.has_value() == (v && v->isObject()),
                      "decodeJsonObject gives exactly the objects decodeJson gives");
    }
    if (v) {
        visit(*v, 0);
        (void)firstItem(v, "_items");
    }
    return 0;
}
