// The element records of circuit files: writing a tree and reading one back.
#include <charconv>
#include <cstring>
#include <utility>

#include "circuit/circuitfile.h"
#include "circuit/circuitquery.h"
#include "complex/cp1252text.h"

namespace zeigora {

namespace {

void PutInt32(TByteStream& s, std::int32_t value) {
    const auto u = static_cast<std::uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8)
        s.push_back(static_cast<std::uint8_t>(u >> shift));
}

void PutDouble(TByteStream& s, double value) {
    std::uint64_t u;
    std::memcpy(&u, &value, sizeof u);
    for (int shift = 0; shift < 64; shift += 8)
        s.push_back(static_cast<std::uint8_t>(u >> shift));
}

void PutName(TByteStream& s, const TShortString& name) {
    s.push_back(name.Length);
    s.insert(s.end(), name.Chars, name.Chars + name.Length);
    s.insert(s.end(), sizeof name.Chars - name.Length, 0);
}

void PutRecord(TByteStream& s, const TCustomCircuitElement& e) {
    PutInt32(s, e.ElementType());
    PutName(s, e.Name);
    PutDouble(s, e.ElementValue);
    if (e.ElementType() != etGroup) return;
    const auto& g = static_cast<const TCircuitElementGroup&>(e);
    PutInt32(s, g.Count());
    s.push_back(g.IsParallel ? 1 : 0);
}

std::int32_t GetInt32(const std::uint8_t* p) {
    std::uint32_t u = 0;
    for (int i = 3; i >= 0; --i)
        u = (u << 8) | p[i];
    return static_cast<std::int32_t>(u);
}

double GetDouble(const std::uint8_t* p) {
    std::uint64_t u = 0;
    for (int i = 7; i >= 0; --i)
        u = (u << 8) | p[i];
    double d;
    std::memcpy(&d, &u, sizeof d);
    return d;
}

std::string Num(long long value) {
    char buf[24];
    const auto r = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, r.ptr);
}

std::string AtByte(std::size_t pos) {
    return " (Byte " + Num(static_cast<long long>(pos)) + ")";
}

struct TRecord {
    std::unique_ptr<TCustomCircuitElement> Element;
    std::int32_t Count = 0;  // members still to read, groups only
};

std::unique_ptr<TCustomCircuitElement> MakeElement(std::int32_t type, double value) {
    switch (type) {
        case etGroup:
            return std::make_unique<TCircuitElementGroup>();
        case etResistor:
            return std::make_unique<TResistor>(value);
        case etCapacitor:
            return std::make_unique<TCapacitor>(value);
        default:
            return std::make_unique<TCoil>(value);
    }
}

// Reads the record at the reader's position without its members. Every check happens before
// anything is allocated.
TRecord ReadRecord(TByteReader& r, int depth, std::string& reason) {
    const std::size_t start = r.Pos;
    const std::size_t left = r.Data.size() - start;
    const std::uint8_t* p = r.Data.data() + start;
    if (left < ElementRecordSize) {
        reason = "ein Datensatz ist unvollständig"_cp + AtByte(start);
        return {};
    }
    const std::int32_t type = GetInt32(p);
    if (type < etGroup || type > etCoil) {
        reason = "unbekannter Bauteiltyp " + Num(type) + AtByte(start);
        return {};
    }
    if (depth > MaxCircuitDepth) {
        reason = "die Gruppen sind tiefer als " + Num(MaxCircuitDepth) + " Ebenen verschachtelt" +
                 AtByte(start);
        return {};
    }
    std::int32_t count = 0;
    bool parallel = false;
    std::size_t size = ElementRecordSize;
    if (type == etGroup) {
        size = GroupRecordSize;
        if (left < GroupRecordSize) {
            reason = "ein Datensatz ist unvollständig"_cp + AtByte(start);
            return {};
        }
        count = GetInt32(p + ElementRecordSize);
        parallel = p[ElementRecordSize + 4] != 0;
        if (count < 0) {
            reason = "negative Elementanzahl " + Num(count) + AtByte(start);
            return {};
        }
        // Every member needs at least a full record; a count beyond that cannot be real.
        if (static_cast<std::size_t>(count) > (left - GroupRecordSize) / ElementRecordSize) {
            reason = "die Elementanzahl " + Num(count) + " passt nicht zur Dateilänge"_cp +
                     AtByte(start);
            return {};
        }
    }
    TRecord rec{MakeElement(type, GetDouble(p + 260)), count};
    rec.Element->Name.Assign(
        std::string_view(reinterpret_cast<const char*>(p + 5), static_cast<std::size_t>(p[4])));
    if (type == etGroup) static_cast<TCircuitElementGroup&>(*rec.Element).IsParallel = parallel;
    r.Pos = start + size;
    return rec;
}

}  // namespace

void SaveToStream(const TCustomCircuitElement& element, TByteStream& stream) {
    // Pre-order is exactly the file's record order; no recursion for deep trees.
    for (const TCircuitNode& node : FlattenCircuit(element))
        PutRecord(stream, *node.Element);
}

std::unique_ptr<TCustomCircuitElement> LoadElementFromStream(TByteReader& reader,
                                                             std::string& reason) {
    struct TFrame {
        TCircuitElementGroup* Group;
        std::int32_t Remaining;
    };
    TRecord root = ReadRecord(reader, 0, reason);
    if (!root.Element) return nullptr;
    std::vector<TFrame> open;
    if (root.Count > 0)
        open.push_back({static_cast<TCircuitElementGroup*>(root.Element.get()), root.Count});
    while (!open.empty()) {
        if (open.back().Remaining == 0) {
            open.pop_back();
            continue;
        }
        --open.back().Remaining;
        TRecord rec = ReadRecord(reader, static_cast<int>(open.size()), reason);
        if (!rec.Element) return nullptr;  // the partial tree dies with root
        TCustomCircuitElement* member = open.back().Group->Add(std::move(rec.Element));
        if (rec.Count > 0) open.push_back({static_cast<TCircuitElementGroup*>(member), rec.Count});
    }
    return std::move(root.Element);
}

TCircuitLoadResult LoadCircuitFromBytes(std::span<const std::uint8_t> bytes,
                                        std::string_view displayName) {
    auto fail = [&](const std::string& reason) {
        TCircuitLoadResult result;
        if (displayName.empty())
            result.Error = "Die Daten sind keine gültige Zeigora-Schaltung: "_cp + reason + ".";
        else
            result.Error = "Die Datei \"" + std::string(displayName) +
                           "\" ist keine gültige Zeigora-Schaltung: "_cp + reason + ".";
        return result;
    };
    if (bytes.empty()) return fail("sie ist leer");
    if (bytes.size() > MaxCircuitFileSize) return fail("sie ist größer als 64 MiB"_cp);
    TByteReader reader{bytes, 0};
    std::string reason;
    std::unique_ptr<TCustomCircuitElement> root = LoadElementFromStream(reader, reason);
    if (!root) return fail(reason);
    if (root->ElementType() != etGroup)
        return fail("das äußerste Element ist keine Bauteilgruppe"_cp);
    if (reader.Pos != bytes.size()) {
        const std::size_t extra = bytes.size() - reader.Pos;
        return fail("nach dem Ende der Schaltung folgen noch " +
                    Num(static_cast<long long>(extra)) + (extra == 1 ? " Byte" : " Bytes"));
    }
    TCircuitLoadResult result;
    result.Circuit.reset(static_cast<TCircuitElementGroup*>(root.release()));
    return result;
}

}  // namespace zeigora
