// The resource language a suite of this folder runs in, chosen by the suite's compile
// definition, and test macros whose suite names carry it: the same sources are built into
// one program per language and CTest needs distinct test names (EntryEn.X, EntryJa.X ...).
#pragma once

#include <string>
#include <vector>

#include "support/expected_messages.h"

#if defined(TEST_LANGUAGE_JAPANESE)
#define TEST_LANGUAGE Ja
constexpr MessageLanguage kSuiteLanguage = MessageLanguage::Japanese;
#elif defined(TEST_LANGUAGE_CHINESE)
#define TEST_LANGUAGE Zh
constexpr MessageLanguage kSuiteLanguage = MessageLanguage::Chinese;
#else
#define TEST_LANGUAGE En
constexpr MessageLanguage kSuiteLanguage = MessageLanguage::English;
#endif

#define LANGUAGE_CONCAT_(a, b) a##b
#define LANGUAGE_CONCAT(a, b) LANGUAGE_CONCAT_(a, b)
// LANGUAGE_SUITE(Entry) is EntryEn, EntryJa or EntryZh.
#define LANGUAGE_SUITE(base) LANGUAGE_CONCAT(base, TEST_LANGUAGE)
#define LANGUAGE_TEST_F_(suite, name) TEST_F(suite, name)
// A TEST_F in the suite LANGUAGE_SUITE(base); declare the fixture with
// class LANGUAGE_SUITE(base) : public SomeFixture {};
#define LANGUAGE_TEST_F(base, name) LANGUAGE_TEST_F_(LANGUAGE_SUITE(base), name)

// Picks the text of the suite's language.
inline const char* InLanguage(const char* english, const char* japanese, const char* chinese)
{
#if defined(TEST_LANGUAGE_JAPANESE)
    (void)english, (void)chinese;
    return japanese;
#elif defined(TEST_LANGUAGE_CHINESE)
    (void)english, (void)japanese;
    return chinese;
#else
    (void)japanese, (void)chinese;
    return english;
#endif
}

// Message id of the program's string table in the suite's language, each "%s" filled from
// arguments.
inline std::string SuiteMessage(int id, const std::vector<std::string>& arguments = {})
{
    return ExpectedText(id, kSuiteLanguage, arguments);
}
