#include "exchange/ImageCompare.h"

#include <map>
#include <set>

#include "exchange/ImageJson.h"

namespace tarvane {
namespace {

struct Flat {
    std::vector<std::string> order;                                // paths in document order
    std::map<std::string, std::pair<std::string, std::string>> at; // path -> (element, value)
    std::set<std::string> elements;
};

std::string ScalarText(const Json& v) {
    switch (v.kind) {
    case Json::Kind::Number:
        return std::to_string(v.number);
    case Json::Kind::String:
        return "\"" + v.text + "\"";
    default:
        return "null";
    }
}

// The name of an array element: channels by group and number, numbered records
// by their number, anything else by position from 1.
std::string ElementName(const Json& item, size_t index) {
    if (item.kind == Json::Kind::Object) {
        const Json* g = item.Find("group");
        const Json* c = item.Find("channel");
        if (g && c && g->kind == Json::Kind::String && c->kind == Json::Kind::Number)
            return g->text + " " + std::to_string(c->number);
        if (g && g->kind == Json::Kind::Null) {
            if (const Json* slot = item.Find("slot")) return "slot " + std::to_string(slot->number);
        }
        if (const Json* n = item.Find("number"); n && n->kind == Json::Kind::Number)
            return std::to_string(n->number);
    }
    return std::to_string(index + 1);
}

void Walk(const Json& v, const std::string& element, const std::string& field, Flat& out) {
    if (v.kind == Json::Kind::Object) {
        for (const auto& [key, child] : v.members)
            Walk(child, element, field.empty() ? key : field + "." + key, out);
        return;
    }
    if (v.kind == Json::Kind::Array) {
        const bool records = !v.items.empty() && v.items[0].kind == Json::Kind::Object;
        for (size_t i = 0; i < v.items.size(); ++i) {
            if (records) {
                // Each record becomes an element of its own, so a missing one is one line.
                const std::string where =
                    (element.empty() ? "" : element + ".") + field + " " + ElementName(v.items[i], i);
                if (!out.elements.insert(where).second) continue; // a repeated slot: the first one counts
                Walk(v.items[i], where, "", out);
            } else {
                Walk(v.items[i], element, field + "[" + std::to_string(i) + "]", out);
            }
        }
        return;
    }
    const std::string path = element + "|" + field;
    if (out.at.emplace(path, std::make_pair(element, ScalarText(v))).second) out.order.push_back(path);
}

Flat Flatten(const Json& doc) {
    Flat f;
    Walk(doc, "", "", f);
    return f;
}

} // namespace

std::vector<Difference> CompareImages(const RadioImage& a, const RadioImage& b) {
    const Flat fa = Flatten(ImageJson(a, a.Settings.Version.ModelType));
    const Flat fb = Flatten(ImageJson(b, b.Settings.Version.ModelType));
    std::vector<Difference> out;
    std::set<std::string> reported;
    auto fieldOf = [](const std::string& path) { return path.substr(path.find('|') + 1); };
    for (const std::string& path : fa.order) {
        const auto& [element, value] = fa.at.at(path);
        if (!element.empty() && !fb.elements.count(element)) {
            if (reported.insert(element).second) out.push_back({element, "", "present", ""});
            continue;
        }
        auto it = fb.at.find(path);
        const std::string other = it == fb.at.end() ? "" : it->second.second;
        if (other != value) out.push_back({element, fieldOf(path), value, other});
    }
    for (const std::string& path : fb.order) {
        const auto& [element, value] = fb.at.at(path);
        if (!element.empty() && !fa.elements.count(element)) {
            if (reported.insert(element).second) out.push_back({element, "", "", "present"});
            continue;
        }
        if (!fa.at.count(path)) out.push_back({element, fieldOf(path), "", value});
    }
    return out;
}

std::string DifferenceText(const Difference& d) {
    if (d.Field.empty()) return d.Where + ": only in " + (d.A.empty() ? "B" : "A");
    return (d.Where.empty() ? "" : d.Where + ": ") + d.Field + ": " + (d.A.empty() ? "-" : d.A) + " -> " +
           (d.B.empty() ? "-" : d.B);
}

} // namespace tarvane
