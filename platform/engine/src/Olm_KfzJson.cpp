#include "Olm_KfzJson.h"
#include "pal/StrUtil.h"

#include "Olm_KfzNameIndex.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <charconv>
#include <climits>
#include <iterator>
#include <new>
#include <set>
#include <string_view>
#include <unordered_set>
#include <utility>
#include <vector>

using Json = nlohmann::ordered_json;

namespace {

// Field names of the file.
constexpr const char* kFieldFormat = "format";
constexpr const char* kFieldFormatVersion = "formatVersion";
constexpr const char* kDevice = "device";
constexpr const char* kFamily = "family";
constexpr const char* kPart = "part";
constexpr const char* kDeviceName = "device";
constexpr const char* kSpeed = "speed";
constexpr const char* kDesignVersion = "designVersion";
constexpr const char* kBlocks = "blocks";
constexpr const char* kSignals = "signals";
constexpr const char* kConnections = "connections";
constexpr const char* kName = "name";
constexpr const char* kPrimType = "primType";
constexpr const char* kCount = "count";
constexpr const char* kProperties = "properties";
constexpr const char* kPins = "pins";
constexpr const char* kDirection = "direction";
constexpr const char* kWidth = "width";
constexpr const char* kHasBus = "hasBus";
constexpr const char* kVcc = "vcc";
constexpr const char* kGround = "ground";
constexpr const char* kExternal = "external";
constexpr const char* kBusWidth = "busWidth";
constexpr const char* kSignal = "signal";
constexpr const char* kBlock = "block";
constexpr const char* kPin = "pin";

Json PropertiesToJson(const Olm_KfzPropertyList& list) {
    Json object = Json::object();
    for (const auto& property : list) object[property.name.str()] = property.value.str();
    return object;
}

// The JSON library's message without its "[json.exception.parse_error.101] " tag.
std::string Untagged(std::string what) {
    if (const auto end = what.find("] "); what.rfind("[json.exception.", 0) == 0 && end != std::string::npos) {
        what.erase(0, end + 2);
    }
    return what;
}

// "line L, column C" for a byte offset, counted as the JSON library counts
// its own parse errors.
std::string LineAndColumn(const std::string& text, std::size_t offset) {
    const auto before = text.begin() + static_cast<std::ptrdiff_t>(offset);
    const std::size_t line = 1 + static_cast<std::size_t>(std::count(text.begin(), before, '\n'));
    const std::size_t lineStart = offset == 0 ? std::string::npos : text.rfind('\n', offset - 1);
    const std::size_t column = lineStart == std::string::npos ? offset + 1 : offset - lineStart;
    return "line " + std::to_string(line) + ", column " + std::to_string(column);
}

// "parse error at line L, column C", as the JSON library words its own.
std::string PlaceOf(const std::string& text, std::size_t offset) {
    return "parse error at " + LineAndColumn(text, offset);
}

// A position in the file text that also records how far the parser has
// read: the parser tells the document builder what it read but not where.
class TrackedPosition {
public:
    using iterator_category = std::input_iterator_tag;
    using value_type = char;
    using difference_type = std::ptrdiff_t;
    using pointer = const char*;
    using reference = const char&;

    TrackedPosition(const char* at, const char** reached) : m_at(at), m_reached(reached) {}
    reference operator*() const { return *m_at; }
    TrackedPosition& operator++() {
        *m_reached = ++m_at;
        return *this;
    }
    TrackedPosition operator++(int) {
        TrackedPosition before = *this;
        ++*this;
        return before;
    }
    bool operator==(const TrackedPosition& other) const { return m_at == other.m_at; }

private:
    const char* m_at;
    const char** m_reached;
};

// A key that appears a second time in one object; thrown by the document
// builder, which stops the parsing.
struct DuplicateKey {
    std::string key;
    std::size_t end;  // the offset just after the second occurrence's closing quote
};

// Where the key string that ends just before end starts: its opening quote,
// the first quote before the closing one that is not escaped (by an odd
// number of backslashes).
std::size_t KeyStart(const std::string& text, std::size_t end) {
    if (end < 2 || end > text.size()) return 0;
    for (std::size_t i = end - 1; i-- > 0;) {
        if (text[i] != '"') continue;
        std::size_t slashes = 0;
        while (slashes < i && text[i - 1 - slashes] == '\\') ++slashes;
        if (slashes % 2 == 0) return i;
    }
    return 0;
}

// A key as a message shows it: at most 64 bytes, not cut inside a UTF-8
// character.
std::string ShownKey(const std::string& key) {
    constexpr std::size_t kShown = 64;
    if (key.size() <= kShown) return key;
    std::size_t cut = kShown;
    while (cut > 0 && (static_cast<unsigned char>(key[cut]) & 0xC0) == 0x80) --cut;
    return key.substr(0, cut) + "...";
}

// Builds the document from the parser's events (the JSON library's SAX
// interface) in place of the library's own builder, for two reasons:
//   - the library lets the last of two equal keys in an object win without
//     a word; here the second one stops the parsing (DuplicateKey), since one
//     of the two settings would be lost;
//   - the library destroys a nested value through a stack it allocates, so
//     that destroying a large document when memory is short (as it is after
//     bad_alloc) ends the program. The document built here is taken apart
//     without allocating (Clear).
class DocumentBuilder {
public:
    // reached: how far the parser has read (see TrackedPosition).
    DocumentBuilder(const std::string& text, const char* const& reached) : m_text(text), m_reached(reached) {}
    DocumentBuilder(const DocumentBuilder&) = delete;
    DocumentBuilder& operator=(const DocumentBuilder&) = delete;
    ~DocumentBuilder() { Clear(); }

    const Json& Root() const { return m_root; }

    // Empties the document from its deepest last entries up, so that every
    // value is a leaf or empty when it is destroyed. The path down holds
    // only lists and objects that are not empty; each of them had entries
    // added while it was open, so the path is never longer than the stack of
    // open values was, and m_open has room for it without allocating.
    void Clear() noexcept {
        const auto nonEmpty = [](const Json& value) { return value.is_structured() && !value.empty(); };
        m_open.clear();
        if (nonEmpty(m_root)) m_open.push_back(&m_root);
        while (!m_open.empty()) {
            Json& node = *m_open.back();
            if (node.empty()) {
                m_open.pop_back();  // its parent removes it next
                continue;
            }
            auto* list = node.is_array() ? &node.get_ref<Json::array_t&>() : nullptr;
            auto* object = list ? nullptr : &node.get_ref<Json::object_t&>();
            Json& last = list ? list->back() : object->back().second;
            if (nonEmpty(last)) {
                m_open.push_back(&last);
            } else if (list) {
                list->pop_back();
            } else {
                object->pop_back();
            }
        }
        m_root = nullptr;
    }

    bool null() { return Put(nullptr); }
    bool boolean(bool value) { return Put(value); }
    bool number_integer(Json::number_integer_t value) { return Put(value); }
    bool number_unsigned(Json::number_unsigned_t value) { return Put(value); }
    bool number_float(Json::number_float_t value, const Json::string_t&) { return Put(value); }
    bool string(Json::string_t& value) { return Put(value); }
    bool binary(Json::binary_t& value) { return Put(Json::binary(value)); }
    bool start_object(std::size_t) { return Open(Json::object()); }
    bool start_array(std::size_t) { return Open(Json::array()); }
    bool end_object() { return Close(); }
    bool end_array() { return Close(); }

    bool key(Json::string_t& name) {
        auto& object = m_open.back()->get_ref<Json::object_t&>();
        const auto [entry, added] = object.emplace(name, nullptr);
        if (!added) throw DuplicateKey{name, static_cast<std::size_t>(m_reached - m_text.data())};
        m_slot = &entry->second;
        return true;
    }

    // The parser hands over its exception (parse_error, out_of_range) to be
    // thrown as it is.
    template <typename Exception>
    bool parse_error(std::size_t, const std::string&, const Exception& problem) {
        throw problem;
    }

private:
    // Places a value: the document itself, the next entry of the open list,
    // or the value of the key just read.
    Json* Put(Json value) {
        if (m_open.empty()) {
            m_root = std::move(value);
            return &m_root;
        }
        if (Json& parent = *m_open.back(); parent.is_array()) {
            auto& list = parent.get_ref<Json::array_t&>();
            list.push_back(std::move(value));
            return &list.back();
        }
        *m_slot = std::move(value);
        return m_slot;
    }

    // A new list or object is open until its end: entries go into it. The
    // pointers stay valid, since only the innermost open value grows.
    bool Open(Json empty) {
        Json* added = Put(std::move(empty));
        m_open.push_back(added);
        return true;
    }

    bool Close() {
        m_open.pop_back();
        return true;
    }

    const std::string& m_text;
    const char* const& m_reached;
    Json m_root;
    std::vector<Json*> m_open;  // the lists and objects being read, innermost last
    Json* m_slot = nullptr;     // where the value of the last key goes
};

// Where the first number too large for a double starts (strings skipped);
// npos when there is none.
std::size_t OverflowingNumber(const std::string& text) {
    bool inString = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (inString) {
            if (c == '\\') ++i;
            else if (c == '"') inString = false;
            continue;
        }
        if (c == '"') {
            inString = true;
            continue;
        }
        if (c != '-' && (c < '0' || c > '9')) continue;
        std::size_t end = text.find_first_not_of("+-0123456789.eE", i);
        if (end == std::string::npos) end = text.size();
        const std::string_view number(text.data() + i, end - i);
        double value = 0;
        const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
        // Out of range with a negative exponent is an underflow, which the
        // parser takes as zero.
        const bool underflow =
            number.find("e-") != std::string_view::npos || number.find("E-") != std::string_view::npos;
        if (result.ec == std::errc::result_out_of_range && !underflow) return i;
        i = end - 1;
    }
    return std::string::npos;
}

// A value of the file as a message shows it: a number, text, true, false or
// null as written, a list or an object by its kind alone. Printing a nested
// value would recurse once per level, and a file can nest deep enough to
// overflow the stack.
std::string Shown(const Json& value) {
    if (value.is_array()) return "a list";
    if (value.is_object()) return "an object";
    return value.dump();
}

// The text as names are compared: ASCII letters in one case.
std::string Folded(const std::string& text) { return Pal::StrUtil::UpperAscii(text); }

// Reading: every step returns false with a description of the problem.
class Reader {
public:
    explicit Reader(std::string& problem) : m_problem(problem) {}

    bool Fail(const std::string& where, const std::string& what) {
        m_problem = where.empty() ? what : where + ": " + what;
        return false;
    }

    bool String(const Json& object, const char* key, const std::string& where, Pal::String& out, bool required,
                bool nonEmpty = false) {
        const auto it = object.find(key);
        if (it == object.end()) {
            return required ? Fail(where, std::string("the field \"") + key + "\" is missing") : true;
        }
        if (!it->is_string()) return Fail(where, std::string("the field \"") + key + "\" must be text");
        const std::string& value = it->get_ref<const std::string&>();
        if (nonEmpty && value.empty()) return Fail(where, std::string("the field \"") + key + "\" is empty");
        if (value.find('\0') != std::string::npos) {
            return Fail(where, std::string("the field \"") + key + "\" holds a zero character");
        }
        out = Pal::String(value);
        return true;
    }

    bool Bool(const Json& object, const char* key, const std::string& where, bool& out) {
        const auto it = object.find(key);
        if (it == object.end()) return true;
        if (!it->is_boolean()) return Fail(where, std::string("the field \"") + key + "\" must be true or false");
        out = it->get<bool>();
        return true;
    }

    bool Array(const Json& object, const char* key, const std::string& where, const Json*& out) {
        out = nullptr;
        const auto it = object.find(key);
        if (it == object.end()) return true;
        if (!it->is_array()) return Fail(where, std::string("the field \"") + key + "\" must be a list");
        out = &*it;
        return true;
    }

    bool Properties(const Json& object, const std::string& where, Olm_KfzPropertyList& list,
                    bool (*isReserved)(const char*)) {
        const auto it = object.find(kProperties);
        if (it == object.end()) return true;
        if (!it->is_object()) return Fail(where, "the field \"properties\" must be an object");
        // The engine matches keys with letter case folded, so of two keys that
        // differ only in case one could never be read back.
        std::unordered_set<std::string> folded;
        for (const auto& [key, value] : it->items()) {
            if (key.empty() || key.find('\0') != std::string::npos) {
                return Fail(where, "a property has an empty or malformed name");
            }
            if (!value.is_string()) return Fail(where, "the value of property '" + key + "' must be text");
            if (value.get_ref<const std::string&>().find('\0') != std::string::npos) {
                return Fail(where, "the value of property '" + key + "' holds a zero character");
            }
            if (isReserved(key.c_str())) {
                return Fail(where, "'" + key + "' is a reserved key and cannot be stored as a property");
            }
            if (!folded.insert(Folded(key)).second) {
                return Fail(where, "the property '" + key + "' appears twice (letter case aside)");
            }
            list.push_back(Olm_KfzProperty{key, value.get_ref<const std::string&>()});
        }
        return true;
    }

    // The start of a block, pin or signal: an object with a name that is not
    // empty and not taken yet (taken(name) answers). at receives where later
    // problems of the entry are: atPrefix and the quoted name.
    template <typename Taken>
    bool Named(const Json& entry, const std::string& kind, const std::string& where, const std::string& atPrefix,
               Pal::String& name, std::string& at, Taken taken) {
        if (!entry.is_object()) return Fail(where, "a " + kind + " must be an object");
        if (!String(entry, kName, where, name, true, true)) return false;
        at = atPrefix + " '" + name.str() + "'";
        if (taken(name)) return Fail("inconsistent design, " + at, "the " + kind + " appears twice");
        return true;
    }

    bool Device(const Json& root, Olm_KfzDesign& design) {
        const auto it = root.find(kDevice);
        if (it == root.end()) return true;
        if (!it->is_object()) return Fail("", "the field \"device\" must be an object");
        const std::string where = "device";
        return String(*it, kFamily, where, design.device.family, false) &&
               String(*it, kPart, where, design.device.part, false) &&
               String(*it, kDeviceName, where, design.device.device, false) &&
               String(*it, kSpeed, where, design.device.speed, false);
    }

    bool Pin(const Json& entry, const std::string& where, Olm_KfzBlock& block) {
        Olm_KfzPin pin;
        std::string at;
        if (!Named(entry, "pin", where, where, pin.name, at,
                   [&](const Pal::String& name) { return Olm_KfzDesign::FindPin(block, name) != nullptr; })) {
            return false;
        }
        if (!String(entry, kDirection, at, pin.direction, false)) return false;
        if (entry.contains(kWidth)) {
            pin.hasWidth = true;
            if (!String(entry, kWidth, at, pin.width, true)) return false;
        }
        if (!Bool(entry, kHasBus, at, pin.hasBus) || !Bool(entry, kVcc, at, pin.isVcc) ||
            !Bool(entry, kGround, at, pin.isGnded) ||
            !Properties(entry, at, pin.properties, &Olm_KfzDesign::IsReservedPinKey)) {
            return false;
        }
        block.pins.push_back(std::move(pin));
        return true;
    }

    bool Block(const Json& entry, std::size_t index, Olm_KfzDesign& design) {
        Olm_KfzBlock block;
        std::string at;
        if (!Named(entry, "block", "block " + std::to_string(index + 1), "block", block.name, at,
                   [&](const Pal::String& name) { return m_blocks.Find(name) != Olm_KfzNameIndex::kNone; })) {
            return false;
        }
        block.count = "1";
        const Json* pins = nullptr;
        if (!String(entry, kPrimType, at, block.primType, true) || !String(entry, kCount, at, block.count, false) ||
            !Properties(entry, at, block.properties, &Olm_KfzDesign::IsReservedBlockKey) ||
            !Array(entry, kPins, at, pins)) {
            return false;
        }
        if (pins) {
            for (const auto& pin : *pins) {
                if (!Pin(pin, at + ", pin", block)) return false;
            }
        }
        m_blocks.Add(block.name, design.blocks.size());
        design.blocks.push_back(std::move(block));
        return true;
    }

    bool Signal(const Json& entry, std::size_t index, Olm_KfzDesign& design) {
        Olm_KfzSignal signal;
        std::string at;
        if (!Named(entry, "signal", "signal " + std::to_string(index + 1), "signal", signal.name, at,
                   [&](const Pal::String& name) { return m_signals.Find(name) != Olm_KfzNameIndex::kNone; })) {
            return false;
        }
        if (entry.contains(kExternal)) {
            signal.isExternal = true;
            if (!String(entry, kExternal, at, signal.externalName, true)) return false;
        }
        if (const auto it = entry.find(kBusWidth); it != entry.end()) {
            if (!it->is_number_integer() || it->get<long long>() < INT_MIN || it->get<long long>() > INT_MAX) {
                return Fail(at, "the field \"busWidth\" must be a whole number");
            }
            signal.isBus = true;
            signal.busWidth = static_cast<int>(it->get<long long>());
        }
        if (!Bool(entry, kVcc, at, signal.isVcc) || !Bool(entry, kGround, at, signal.isGnded) ||
            !Properties(entry, at, signal.properties, &Olm_KfzDesign::IsReservedSignalKey)) {
            return false;
        }
        m_signals.Add(signal.name, design.nets.size());
        design.nets.push_back(std::move(signal));
        return true;
    }

    bool Connection(const Json& entry, std::size_t index, Olm_KfzDesign& design) {
        const std::string where = "inconsistent design, connection " + std::to_string(index + 1);
        if (!entry.is_object()) return Fail(where, "a connection must be an object");
        Pal::String signalName, blockName, pinName;
        if (!String(entry, kSignal, where, signalName, true, true) ||
            !String(entry, kBlock, where, blockName, true, true) ||
            !String(entry, kPin, where, pinName, true, true)) {
            return false;
        }
        const std::string what = "signal '" + signalName.str() + "' to pin '" + pinName.str() + "' of block '" +
                                 blockName.str() + "'";
        const std::size_t blockAt = m_blocks.Find(blockName);
        Olm_KfzBlock* block = blockAt == Olm_KfzNameIndex::kNone ? nullptr : &design.blocks[blockAt];
        if (!block) return Fail(where, "connects " + what + ", but there is no such block");
        Olm_KfzPin* pin = Olm_KfzDesign::FindPin(*block, pinName);
        if (!pin) return Fail(where, "connects " + what + ", but the block has no such pin");
        if (m_signals.Find(signalName) == Olm_KfzNameIndex::kNone) return Fail(where, "connects " + what + ", but there is no such signal");
        if (!pin->signal.IsEmpty()) {
            return Fail(where, "connects " + what + ", but that pin is connected to '" + pin->signal.str() +
                                   "' already");
        }
        pin->signal = signalName;
        return true;
    }

    bool Design(const Json& root, Olm_KfzDesign& design) {
        if (!root.is_object()) return Fail("", "not a KFZ design file (the top level is not an object)");
        const auto format = root.find(kFieldFormat);
        if (format == root.end()) return Fail("", "not a KFZ design file (the field \"format\" is missing)");
        if (!format->is_string() || format->get_ref<const std::string&>() != Olm_KfzJson::kFormatName) {
            return Fail("", "not a KFZ design file (format " + Shown(*format) + ", expected \"" +
                                Olm_KfzJson::kFormatName + "\")");
        }
        const auto version = root.find(kFieldFormatVersion);
        if (version == root.end()) return Fail("", "the field \"formatVersion\" is missing");
        if (!version->is_number_integer() || version->get<long long>() != Olm_KfzJson::kFormatVersion) {
            return Fail("", "format version " + Shown(*version) + " is not supported (this engine reads version " +
                                std::to_string(Olm_KfzJson::kFormatVersion) + ")");
        }
        const Json* blocks = nullptr;
        const Json* signals = nullptr;
        const Json* connections = nullptr;
        if (!Device(root, design) || !String(root, kDesignVersion, "", design.version, false) ||
            !Array(root, kBlocks, "", blocks) || !Array(root, kSignals, "", signals) ||
            !Array(root, kConnections, "", connections)) {
            return false;
        }
        // Names are checked and connections resolved through indexes: walking
        // the lists for each entry made loading grow with the square of the size.
        m_blocks.Rebuild(design.blocks);
        m_signals.Rebuild(design.nets);
        for (std::size_t i = 0; blocks && i < blocks->size(); ++i) {
            if (!Block((*blocks)[i], i, design)) return false;
        }
        for (std::size_t i = 0; signals && i < signals->size(); ++i) {
            if (!Signal((*signals)[i], i, design)) return false;
        }
        for (std::size_t i = 0; connections && i < connections->size(); ++i) {
            if (!Connection((*connections)[i], i, design)) return false;
        }
        return true;
    }

private:
    std::string& m_problem;
    Olm_KfzNameIndex m_blocks;   // the design's blocks by name
    Olm_KfzNameIndex m_signals;  // the design's signals by name
};

}  // namespace

bool Olm_KfzJson::Write(const Olm_KfzDesign& design, std::string& text, std::string& problem) {
    try {
        Json root = Json::object();
        root[kFieldFormat] = kFormatName;
        root[kFieldFormatVersion] = kFormatVersion;
        root[kDevice] = Json::object({{kFamily, design.device.family.str()},
                                      {kPart, design.device.part.str()},
                                      {kDeviceName, design.device.device.str()},
                                      {kSpeed, design.device.speed.str()}});
        root[kDesignVersion] = design.version.str();

        Json blocks = Json::array();
        Json connections = Json::array();
        for (const auto& block : design.blocks) {
            Json entry = Json::object();
            entry[kName] = block.name.str();
            entry[kPrimType] = block.primType.str();
            entry[kCount] = block.count.str();
            if (!block.properties.empty()) entry[kProperties] = PropertiesToJson(block.properties);
            Json pins = Json::array();
            for (const auto& pin : block.pins) {
                Json p = Json::object();
                p[kName] = pin.name.str();
                p[kDirection] = pin.direction.str();
                if (pin.hasWidth) p[kWidth] = pin.width.str();
                if (pin.hasBus) p[kHasBus] = true;
                if (pin.isVcc) p[kVcc] = true;
                if (pin.isGnded) p[kGround] = true;
                if (!pin.properties.empty()) p[kProperties] = PropertiesToJson(pin.properties);
                pins.push_back(std::move(p));
                if (!pin.signal.IsEmpty()) {
                    connections.push_back(
                        Json::object({{kSignal, pin.signal.str()}, {kBlock, block.name.str()}, {kPin, pin.name.str()}}));
                }
            }
            if (!pins.empty()) entry[kPins] = std::move(pins);
            blocks.push_back(std::move(entry));
        }
        root[kBlocks] = std::move(blocks);

        Json signals = Json::array();
        for (const auto& signal : design.nets) {
            Json entry = Json::object();
            entry[kName] = signal.name.str();
            if (signal.isExternal) entry[kExternal] = signal.externalName.str();
            if (signal.isBus) entry[kBusWidth] = signal.busWidth;
            if (signal.isVcc) entry[kVcc] = true;
            if (signal.isGnded) entry[kGround] = true;
            if (!signal.properties.empty()) entry[kProperties] = PropertiesToJson(signal.properties);
            signals.push_back(std::move(entry));
        }
        root[kSignals] = std::move(signals);
        root[kConnections] = std::move(connections);

        text = root.dump(2);
        text += '\n';
        return true;
    } catch (const Json::type_error& e) {
        problem = e.id == 316 ? "the design holds text that is not valid UTF-8" : e.what();
    } catch (const std::exception& e) {
        problem = e.what();
    }
    return false;
}

bool Olm_KfzJson::Read(const std::string& text, Olm_KfzDesign& design, std::string& problem) {
    const char* reached = text.data();
    DocumentBuilder document(text, reached);
    try {
        Json::sax_parse(TrackedPosition(text.data(), &reached), TrackedPosition(text.data() + text.size(), &reached),
                        &document);
    } catch (const DuplicateKey& duplicate) {
        problem = "duplicate key at " + LineAndColumn(text, KeyStart(text, duplicate.end)) + ": the key \"" +
                  ShownKey(duplicate.key) + "\" appears twice in the same object";
        return false;
    } catch (const std::bad_alloc&) {
        document.Clear();  // before the message takes memory
        problem = kOutOfMemory;
        return false;
    } catch (const Json::parse_error& e) {
        // The place is that of the last byte read, counted again here: the
        // library counts a line feed that ends a string early as the start
        // of the next line, at column 0.
        std::string what = Untagged(e.what());
        if (const auto colon = what.find(": "); e.byte > 0 && what.rfind("parse error at line ", 0) == 0 &&
                                                colon != std::string::npos) {
            what = PlaceOf(text, std::min<std::size_t>(e.byte - 1, text.size())) + what.substr(colon);
        }
        problem = "not valid JSON (" + what + ")";
        return false;
    } catch (const Json::out_of_range& e) {
        // A number too large for a double; the parser does not say where.
        const std::size_t at = OverflowingNumber(text);
        problem = "not valid JSON (" + (at == std::string::npos ? std::string() : PlaceOf(text, at) + ": ") +
                  Untagged(e.what()) + ")";
        return false;
    } catch (const std::exception& e) {
        problem = std::string("not valid JSON (") + e.what() + ")";
        return false;
    }
    try {
        Reader reader(problem);
        return reader.Design(document.Root(), design);
    } catch (const std::bad_alloc&) {
        document.Clear();
        problem = kOutOfMemory;
        return false;
    } catch (const std::exception& e) {
        problem = std::string("unreadable content (") + e.what() + ")";
        return false;
    }
}
