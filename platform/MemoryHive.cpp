#include "platform/MemoryHive.h"

#include "platform/HiveError.h"

namespace tilava {

MemoryHive::MemoryHive(bool startupKeyExists) {
    if (startupKeyExists) {
        startup_.emplace();
    }
}

std::optional<MemoryHive::Values>& MemoryHive::Key(HiveKey key) {
    return key == HiveKey::Settings ? settings_ : startup_;
}

const std::optional<MemoryHive::Values>& MemoryHive::Key(HiveKey key) const {
    return key == HiveKey::Settings ? settings_ : startup_;
}

bool MemoryHive::KeyExists(HiveKey key) const {
    return Key(key).has_value();
}

HiveValue MemoryHive::ReadValue(HiveKey key, std::string_view name) const {
    const auto& values = Key(key);
    if (!values) {
        return {};
    }
    const auto found = values->find(name);
    if (found == values->end()) {
        return {};
    }
    if (const auto* text = std::get_if<std::string>(&found->second)) {
        return {ValueKind::String, *text};
    }
    return {ValueKind::NotString, {}};
}

void MemoryHive::WriteString(HiveKey key, std::string_view name, std::string_view text) {
    auto& values = Key(key);
    if (refuse_ || (!values && key == HiveKey::Startup)) {
        throw HiveError("Nastavenie „" + std::string(name) +
                        "“ sa nedá uložiť: prístup je zamietnutý");
    }
    ++writes_;
    if (!values) {
        values.emplace();
    }
    (*values)[std::string(name)] = std::string(text);
}

void MemoryHive::DeleteValue(HiveKey key, std::string_view name) {
    if (refuse_) {
        throw HiveError("Nastavenie „" + std::string(name) +
                        "“ sa nedá zmazať: prístup je zamietnutý");
    }
    ++deletes_;
    auto& values = Key(key);
    if (values) {
        if (const auto found = values->find(name); found != values->end()) {
            values->erase(found);
        }
    }
}

void MemoryHive::CreateKey(HiveKey key) {
    auto& values = Key(key);
    if (!values) {
        values.emplace();
    }
}

void MemoryHive::RemoveKey(HiveKey key) {
    Key(key).reset();
}

void MemoryHive::PutString(HiveKey key, std::string_view name, std::string_view text) {
    CreateKey(key);
    (*Key(key))[std::string(name)] = std::string(text);
}

void MemoryHive::PutDword(HiveKey key, std::string_view name, std::uint32_t value) {
    CreateKey(key);
    (*Key(key))[std::string(name)] = value;
}

} // namespace tilava
