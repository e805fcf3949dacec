// The text tables: every language fills every text, and the locale picks the
// language. No Windows call: also run natively under the sanitizers.
#include "app/texts.h"

#include <string>
#include <type_traits>

#include <gtest/gtest.h>

namespace app {
namespace {

// Seen as an array of texts: a field added to any nested table is checked, no list to forget.
static_assert(std::is_standard_layout_v<Texts> && sizeof(Texts) % sizeof(std::wstring) == 0);

TEST(TextsTest, EveryLanguageFillsEveryTextAndSpanishLocalesPickSpanish) {
  constexpr std::size_t kCount = sizeof(Texts) / sizeof(std::wstring);
  for (Language language : {Language::kEnglish, Language::kSpanish}) {
    const auto* texts = reinterpret_cast<const std::wstring*>(&TextsOf(language));
    for (std::size_t i = 0; i < kCount; ++i)
      EXPECT_FALSE(texts[i].empty()) << "language " << static_cast<int>(language) << ", text " << i;
  }
  for (const wchar_t* name : {L"ESP", L"ESN", L"ESM", L"ES"})
    EXPECT_EQ(LanguageOfLocale(name), Language::kSpanish) << name;
  for (const wchar_t* name : {L"ENU", L"FRA", L"E", L"", L"esp"})
    EXPECT_EQ(LanguageOfLocale(name), Language::kEnglish) << name;
}

}  // namespace
}  // namespace app
