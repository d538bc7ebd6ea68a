// Graphics processors and displays from the graphics report, with the report's tokens
// ("sppci_vendor_", "spdisplays_", underscores) turned into readable text.
#include <algorithm>
#include <cctype>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "service/Collectors.h"
#include "service/Values.h"

namespace orvane {

namespace {

// Every occurrence of `token` removed.
std::string strip(std::string text, std::string_view token) {
    if (token.empty()) return text;
    std::size_t pos = 0;
    while ((pos = text.find(token, pos)) != std::string::npos)
        text.erase(pos, token.size());
    return text;
}

bool isWordBreak(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// Every word (a run between spaces, tabs or line breaks) with an upper-case first letter
// and a lower-case rest. The report's tokens are ASCII; other bytes are kept as they are.
std::string capitalised(std::string text) {
    bool wordStart = true;
    for (char& c : text) {
        if (isWordBreak(c)) {
            wordStart = true;
            continue;
        }
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x80) c = static_cast<char>(wordStart ? std::toupper(u) : std::tolower(u));
        wordStart = false;
    }
    return text;
}

std::string trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t");
    return std::string(text.substr(first, last - first + 1));
}

std::string lowerAscii(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// "spdisplays_built-in_retina_lcd" -> "Built-in Retina Lcd".
std::string readableType(const std::string& token) {
    std::string text = strip(token, "spdisplays_");
    std::replace(text.begin(), text.end(), '_', ' ');
    return capitalised(std::move(text));
}

GraphicsInfo readGraphics(const Value& item) {
    GraphicsInfo gpu;
    const std::string* name = item.getString("_name");
    gpu.name = name ? *name : std::string("GPU");
    const std::string* cores = item.getString("sppci_cores");
    gpu.cores = cores ? *cores : std::string();
    if (const std::string* vendor = item.getString("spdisplays_vendor")) {
        gpu.vendor = strip(strip(*vendor, "sppci_vendor_"), "sppci_vendor");
    }
    if (const std::string* family = item.getString("spdisplays_metalfamily")) {
        gpu.metalSupport = capitalised(strip(*family, "spdisplays_"));
    } else if (const std::string* support = item.getString("spdisplays_mtlgpufamilysupport")) {
        gpu.metalSupport = strip(*support, "spdisplays_");
    }
    return gpu;
}

DisplayInfo readDisplay(const Value& entry) {
    DisplayInfo display;
    const std::string* name = entry.getString("_name");
    display.name = name ? *name : std::string("Display");

    const std::string* privateResolution = entry.getString("_spdisplays_resolution");
    const std::string* resolution = entry.getString("spdisplays_resolution");
    if (privateResolution) {
        display.resolution = *privateResolution;
    } else if (resolution) {
        display.resolution = *resolution;
    }
    display.uiResolution = resolution ? *resolution : std::string();
    if (const std::string* pixels = entry.getString("_spdisplays_pixels");
        pixels && !pixels->empty()) {
        display.resolution = *pixels;
    }

    const std::string* main = entry.getString("spdisplays_main");
    display.isMain = main && *main == "spdisplays_yes";

    if (const std::string* type = entry.getString("spdisplays_display_type")) {
        const std::string lower = lowerAscii(*type);
        display.isBuiltIn = lower.find("built-in") != std::string::npos ||
                            lower.find("retina") != std::string::npos;
        display.connectionType = readableType(*type);
    }
    if (const std::string* connection = entry.getString("spdisplays_connection_type")) {
        display.connectionType = readableType(*connection);
    }

    if (resolution) {
        if (const auto at = resolution->find('@'); at != std::string::npos) {
            display.refreshRate = trimmed(std::string_view(*resolution).substr(at + 1));
        }
    }
    return display;
}

}  // namespace

std::pair<std::vector<DisplayInfo>, std::vector<GraphicsInfo>> collectDisplays(
    const Platform& platform) {
    std::vector<DisplayInfo> displays;
    std::vector<GraphicsInfo> graphics;

    const std::optional<Value> root =
        decodeJsonObject(platform.runData(kSystemProfiler, {"SPDisplaysDataType", "-json"}));
    const Value::Array* items = arrayOfObjects(root, "SPDisplaysDataType");
    if (!items) return {std::move(displays), std::move(graphics)};

    for (const Value& item : *items) {
        graphics.push_back(readGraphics(item));
        const Value* entries = item.get("spdisplays_ndrvs");
        if (!entries || !entries->isArrayOfObjects()) continue;
        for (const Value& entry : *entries->asArray())
            displays.push_back(readDisplay(entry));
    }
    return {std::move(displays), std::move(graphics)};
}

}  // namespace orvane
