#pragma once
// JSON output of a document and of the radio information, and the small JSON
// value both are built from. The comparison of two images walks the same tree,
// so a field has one name in the JSON and in the list of differences.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace tarvane {

struct Program;
struct RadioImage;

struct Json {
    enum class Kind { Null, Number, String, Array, Object, Bool };
    Kind kind = Kind::Null;
    int64_t number = 0;
    std::string text;
    std::vector<Json> items; // Array
    struct Member;
    std::vector<Member> members; // Object, in insertion order

    static Json Num(int64_t v);
    static Json Flag(bool v);
    static Json Str(std::string v);
    static Json Arr();
    static Json Obj();
    Json& Add(std::string key, Json value);
    Json& Push(Json value);
    const Json* Find(const std::string& key) const;
};

// Defined once Json is complete: a member holding a Json needs the whole type.
struct Json::Member {
    std::string first;
    Json second;
};

inline Json Json::Num(int64_t v) {
    Json j;
    j.kind = Kind::Number;
    j.number = v;
    return j;
}
inline Json Json::Flag(bool v) {
    Json j;
    j.kind = Kind::Bool;
    j.number = v ? 1 : 0;
    return j;
}
inline Json Json::Str(std::string v) {
    Json j;
    j.kind = Kind::String;
    j.text = std::move(v);
    return j;
}
inline Json Json::Arr() {
    Json j;
    j.kind = Kind::Array;
    return j;
}
inline Json Json::Obj() {
    Json j;
    j.kind = Kind::Object;
    return j;
}
inline Json& Json::Add(std::string key, Json value) {
    members.push_back(Member{std::move(key), std::move(value)});
    return *this;
}
inline Json& Json::Push(Json value) {
    items.push_back(std::move(value));
    return *this;
}

// The group and channel number of a slot, every group of the band included
// (memory and emergency channels of HF and HAM radios too); false for a slot in no group.
bool SlotPlace(int slot, int band, int& group, int& channel);

// Valid JSON in UTF-8: bytes of a text that are not UTF-8 are taken as Latin-1.
std::string WriteJson(const Json& value);

// The whole document: model, settings by name, every channel with its group and
// number, DTMF codes, keys, tone tips, emergency channels.
Json ImageJson(const RadioImage& image, int band);
Json DocumentJson(Program& p);
// The radio information last read (p.RadioInfo).
Json RadioInfoJson(Program& p);

} // namespace tarvane
