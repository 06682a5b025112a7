// Builds minimal PE32 (or PE32+) images with one ".rsrc" section holding a
// resource directory, so lookups can be tested on files made here. Types
// and names are UTF-16; one that begins with '#' is a numeric id.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace tova::testing {

struct TPeResource {
    std::u16string type;
    std::u16string name;
    std::vector<uint8_t> data;
};

struct TPeImageBytes {
    std::vector<uint8_t> bytes;
    size_t optionalHeaderAt = 0;  // file offset of the optional header
    size_t resourceAt = 0;        // file offset of the resource directory (root table)
    size_t dataEntriesAt = 0;     // file offset of the first data entry
};

class TPeBuilder {
public:
    static constexpr uint32_t kResourceRva = 0x1000;
    static constexpr size_t kResourceFileOffset = 0x200;

    void Add(std::u16string type, std::u16string name, std::vector<uint8_t> data) {
        resources_.push_back({std::move(type), std::move(name), std::move(data)});
    }

    TPeImageBytes Build(bool pe32Plus = false) const {
        size_t dataEntriesAt = 0;
        const std::vector<uint8_t> rsrc = BuildResourceSection(dataEntriesAt);
        const size_t optionalSize = pe32Plus ? 240 : 224;
        TPeImageBytes image;
        std::vector<uint8_t>& out = image.bytes;
        out.assign(kResourceFileOffset, 0);
        out[0] = 'M';
        out[1] = 'Z';
        Put32(out, 0x3C, 0x40);
        out[0x40] = 'P';
        out[0x41] = 'E';
        Put16(out, 0x44, pe32Plus ? 0x8664 : 0x14C);
        Put16(out, 0x46, 1);  // one section
        Put16(out, 0x54, static_cast<uint16_t>(optionalSize));
        Put16(out, 0x56, 0x0102);
        image.optionalHeaderAt = 0x58;
        const size_t opt = image.optionalHeaderAt;
        Put16(out, opt, pe32Plus ? 0x20B : 0x10B);
        const size_t countAt = opt + (pe32Plus ? 108 : 92);
        Put32(out, countAt, 16);
        Put32(out, countAt + 4 + 16, kResourceRva);
        Put32(out, countAt + 4 + 20, static_cast<uint32_t>(rsrc.size()));
        const size_t section = opt + optionalSize;
        const char name[8] = {'.', 'r', 's', 'r', 'c', 0, 0, 0};
        for (size_t i = 0; i < 8; ++i)
            out[section + i] = static_cast<uint8_t>(name[i]);
        Put32(out, section + 8, static_cast<uint32_t>(rsrc.size()));
        Put32(out, section + 12, kResourceRva);
        Put32(out, section + 16, static_cast<uint32_t>(rsrc.size()));
        Put32(out, section + 20, kResourceFileOffset);
        out.insert(out.end(), rsrc.begin(), rsrc.end());
        image.resourceAt = kResourceFileOffset;
        image.dataEntriesAt = kResourceFileOffset + dataEntriesAt;
        return image;
    }

    static void Put16(std::vector<uint8_t>& b, size_t at, uint16_t v) {
        b[at] = static_cast<uint8_t>(v);
        b[at + 1] = static_cast<uint8_t>(v >> 8);
    }
    static void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            b[at + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
    }

private:
    struct TKey {
        bool isId;
        uint16_t id;
        std::u16string text;
        bool operator<(const TKey& o) const {
            // Named entries come before id entries, each group sorted.
            if (isId != o.isId) return !isId;
            return isId ? id < o.id : text < o.text;
        }
    };

    static TKey KeyOf(const std::u16string& s) {
        if (!s.empty() && s[0] == u'#') {
            uint16_t id = 0;
            for (size_t i = 1; i < s.size(); ++i)
                id = static_cast<uint16_t>(id * 10 + (s[i] - u'0'));
            return {true, id, {}};
        }
        return {false, 0, s};
    }

    // Layout: root table, one table per type, one per name (with one
    // language entry each), the data entries, the name strings, the data.
    std::vector<uint8_t> BuildResourceSection(size_t& dataEntriesAt) const {
        std::map<TKey, std::map<TKey, const TPeResource*>> tree;
        for (const auto& r : resources_)
            tree[KeyOf(r.type)][KeyOf(r.name)] = &r;

        auto tableSize = [](size_t entries) { return 16 + 8 * entries; };
        size_t size = tableSize(tree.size());
        size_t leafCount = 0;
        for (const auto& [type, names] : tree) {
            size += tableSize(names.size());
            leafCount += names.size();
        }
        size += tableSize(1) * leafCount;
        dataEntriesAt = size;
        std::vector<uint8_t> out(size + 16 * leafCount, 0);
        auto addString = [&](const std::u16string& text) {
            const size_t at = out.size();
            out.resize(at + 2 + 2 * text.size());
            Put16(out, at, static_cast<uint16_t>(text.size()));
            for (size_t i = 0; i < text.size(); ++i)
                Put16(out, at + 2 + 2 * i, static_cast<uint16_t>(text[i]));
            return static_cast<uint32_t>(at);
        };
        auto writeTable = [&](size_t at, const std::vector<TKey>& keys) {
            uint16_t named = 0;
            for (const auto& k : keys)
                named = static_cast<uint16_t>(named + (k.isId ? 0 : 1));
            Put16(out, at + 12, named);
            Put16(out, at + 14, static_cast<uint16_t>(keys.size() - named));
            for (size_t i = 0; i < keys.size(); ++i)
                Put32(out, at + 16 + 8 * i,
                      keys[i].isId ? keys[i].id : (addString(keys[i].text) | 0x80000000u));
        };

        std::vector<TKey> types;
        for (const auto& entry : tree)
            types.push_back(entry.first);
        writeTable(0, types);
        size_t next = tableSize(tree.size());
        size_t leaf = 0;
        std::vector<const TPeResource*> leaves;
        size_t typeIndex = 0;
        for (const auto& [type, names] : tree) {
            const size_t typeTable = next;
            Put32(out, 16 + 8 * typeIndex + 4, static_cast<uint32_t>(typeTable) | 0x80000000u);
            std::vector<TKey> nameKeys;
            for (const auto& entry : names)
                nameKeys.push_back(entry.first);
            writeTable(typeTable, nameKeys);
            next += tableSize(names.size());
            size_t nameIndex = 0;
            for (const auto& [name, resource] : names) {
                const size_t langTable = next;
                next += tableSize(1);
                Put32(out, typeTable + 16 + 8 * nameIndex + 4,
                      static_cast<uint32_t>(langTable) | 0x80000000u);
                writeTable(langTable, {TKey{true, 1041, {}}});
                Put32(out, langTable + 16 + 4, static_cast<uint32_t>(dataEntriesAt + 16 * leaf));
                leaves.push_back(resource);
                ++leaf;
                ++nameIndex;
            }
            ++typeIndex;
        }
        for (size_t i = 0; i < leaves.size(); ++i) {
            out.resize((out.size() + 3) & ~size_t{3});
            const size_t dataAt = out.size();
            out.insert(out.end(), leaves[i]->data.begin(), leaves[i]->data.end());
            Put32(out, dataEntriesAt + 16 * i, static_cast<uint32_t>(kResourceRva + dataAt));
            Put32(out, dataEntriesAt + 16 * i + 4, static_cast<uint32_t>(leaves[i]->data.size()));
        }
        return out;
    }

    std::vector<TPeResource> resources_;
};

}  // namespace tova::testing
