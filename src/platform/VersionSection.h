// Embeds version information in a binary as the read-only ELF section ".corvane_version".
// The section is plain text so that a reader can parse it from the file without loading it:
//
//   CORVANE-VERSION 1\n
//   FixedFileVersion=1.2.0.5\n        (four numbers, the fixed file version)
//   FixedProductVersion=1.2.0.5\n     (four numbers, the fixed product version)
//   FileDescription=...\n             (any number of string values, one per line)
//   \0
//
// Usage, once per binary (at namespace scope in one source file):
//   CORVANE_VERSION_INFO("1.2.0.5", "1.2.0.5",
//       CORVANE_VERSION_STRING("FileDescription", "Simulated CI-V radio")
//       CORVANE_VERSION_STRING("ProductVersion", "1.2.0.5"))
//
// Keys and values are string literals without line breaks; a key holds no '='. One record per
// binary: a reader takes the first. VersionInfo.h reads it back.
#pragma once

#define CORVANE_VERSION_SECTION_NAME ".corvane_version"
#define CORVANE_VERSION_MAGIC "CORVANE-VERSION 1\n"

#define CORVANE_VERSION_STRING(key, value) key "=" value "\n"

#define CORVANE_VERSION_INFO(fixedFileVersion, fixedProductVersion, strings)           \
    extern "C" {                                                                       \
    __attribute__((section(CORVANE_VERSION_SECTION_NAME), used, aligned(1)))           \
    const char corvane_version_info[] =                                                \
        CORVANE_VERSION_MAGIC "FixedFileVersion=" fixedFileVersion                     \
                              "\n"                                                     \
                              "FixedProductVersion=" fixedProductVersion "\n" strings; \
    }
