// The five registry roots the system knows, their short names and predefined handles, and the
// value types of the registry, with the platform's names and numbers.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

// A registry key handle. The predefined handles stand for the roots; 0 is no key.
using HKEY = std::uint32_t;

constexpr HKEY HKEY_CLASSES_ROOT = 0x80000000;
constexpr HKEY HKEY_CURRENT_USER = 0x80000001;
constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002;
constexpr HKEY HKEY_USERS = 0x80000003;
constexpr HKEY HKEY_CURRENT_CONFIG = 0x80000005;

constexpr std::uint32_t REG_NONE = 0;
constexpr std::uint32_t REG_SZ = 1;
constexpr std::uint32_t REG_EXPAND_SZ = 2;
constexpr std::uint32_t REG_BINARY = 3;
constexpr std::uint32_t REG_DWORD = 4;
constexpr std::uint32_t REG_DWORD_BIG_ENDIAN = 5;
constexpr std::uint32_t REG_LINK = 6;
constexpr std::uint32_t REG_MULTI_SZ = 7;
constexpr std::uint32_t REG_RESOURCE_LIST = 8;
constexpr std::uint32_t REG_FULL_RESOURCE_DESCRIPTOR = 9;
constexpr std::uint32_t REG_RESOURCE_REQUIREMENTS_LIST = 10;
constexpr std::uint32_t REG_QWORD = 11;

struct RegistryRoot {
    std::string_view longName;
    std::string_view shortName;
    HKEY handle;
};

// In the order in which paths are tested against them.
inline constexpr std::array<RegistryRoot, 5> registryRoots{{
    {"HKEY_CLASSES_ROOT", "HKCR", HKEY_CLASSES_ROOT},
    {"HKEY_CURRENT_USER", "HKCU", HKEY_CURRENT_USER},
    {"HKEY_LOCAL_MACHINE", "HKLM", HKEY_LOCAL_MACHINE},
    {"HKEY_USERS", "HKU", HKEY_USERS},
    {"HKEY_CURRENT_CONFIG", "HKCC", HKEY_CURRENT_CONFIG},
}};
