#include "platform/sprache.h"

#include <gtest/gtest.h>

#include <array>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/translate.h"
#include "support/sprache_wechseln.h"
#include "support/temp_folder.h"

namespace tilvendo {
namespace {

using Werte = std::map<std::string, std::string>;

// An environment of exactly these variables.
Umgebungsleser Umgebung(Werte werte) {
  return [werte = std::move(werte)](const char* name) -> const char* {
    const auto it = werte.find(name);
    return it == werte.end() ? nullptr : it->second.c_str();
  };
}

constexpr std::array<std::string_view, 1> kEnglisch = {"en"};
constexpr std::array<std::string_view, 2> kMitFranzoesisch = {"en", "fr"};

std::string Waehlen(const Werte& werte) {
  return SpracheWaehlen(Umgebung(werte), kEnglisch);
}

// The first variable set in the order LANGUAGE, LC_ALL, LC_MESSAGES, LANG decides (an
// empty one counts as unset); LANGUAGE lists several, of which the first known one counts;
// every locale that is not German gives English.
TEST(SpracheWaehlen, TheFirstVariableSetDecidesAndOnlyGermanIsNotEnglish) {
  const std::vector<std::pair<Werte, std::string>> faelle = {
      {{{"LANGUAGE", "de"}, {"LC_ALL", "en_US.UTF-8"}}, "de"},
      {{{"LANGUAGE", "en"}, {"LC_ALL", "de_DE.UTF-8"}}, "en"},
      {{{"LC_ALL", "de_DE.UTF-8"}, {"LC_MESSAGES", "en_US.UTF-8"}}, "de"},
      {{{"LC_ALL", "en_GB.UTF-8"}, {"LC_MESSAGES", "de_DE.UTF-8"}}, "en"},
      {{{"LC_MESSAGES", "de_CH.UTF-8"}, {"LANG", "en_US.UTF-8"}}, "de"},
      {{{"LC_MESSAGES", "C"}, {"LANG", "de_DE.UTF-8"}}, "en"},
      {{{"LANG", "de_AT.UTF-8@euro"}}, "de"},
      {{{"LANGUAGE", ""}, {"LC_ALL", ""}, {"LC_MESSAGES", ""}, {"LANG", "de"}}, "de"},
      {{}, "en"},
      {{{"LANGUAGE", "fr:de:en"}}, "de"},
      {{{"LANGUAGE", "fr:en_GB:de"}}, "en"},
      {{{"LANGUAGE", ":de"}}, "de"},
      {{{"LANGUAGE", "fr:it"}, {"LANG", "de_DE.UTF-8"}}, "en"},
      {{{"LANG", "fr:de"}}, "en"},  // only LANGUAGE is a list
  };
  for (const auto& [werte, sprache] : faelle) {
    EXPECT_EQ(Waehlen(werte), sprache) << (werte.empty() ? "" : werte.begin()->second);
  }
  for (const char* ort : {"C", "POSIX", "C.UTF-8", "fr_FR.UTF-8", "en_US", "Deutsch", "DE_de",
                          "de-DE", "d", "deut", "_de", ".UTF-8", "@de"}) {
    EXPECT_EQ(Waehlen({{"LANG", ort}}), "en") << ort;
  }
}

TEST(SpracheWaehlen, ALanguageNeedsNoMoreThanItsCatalogue) {
  const Werte franzoesisch = {{"LANG", "fr_FR.UTF-8"}};
  EXPECT_EQ(SpracheWaehlen(Umgebung(franzoesisch), kEnglisch), "en");
  EXPECT_EQ(SpracheWaehlen(Umgebung(franzoesisch), kMitFranzoesisch), "fr");
  EXPECT_EQ(SpracheWaehlen(Umgebung({{"LANGUAGE", "it:fr:de"}}), kMitFranzoesisch), "fr");
}

// The catalogue of the build, cut or bent in the ways a damaged file could be.
class Katalog : public ::testing::Test {
 protected:
  void SetUp() override {
    echt_ = testing::ReadTestFile(KatalogDatei(KatalogOrdner(), "en"));
    ASSERT_GT(echt_.size(), kKopf);
  }

  bool Gueltig(const std::string& inhalt) {
    testing::WriteWholeFile(ordner_ / "k.mo", inhalt);
    return KatalogGueltig(ordner_ / "k.mo");
  }

  void WortSetzen(std::string& inhalt, size_t stelle, uint32_t wert) {
    std::memcpy(inhalt.data() + stelle, &wert, sizeof wert);
  }

  uint32_t Wort(size_t stelle) const {
    uint32_t wert = 0;
    std::memcpy(&wert, echt_.data() + stelle, sizeof wert);
    return wert;
  }

  static constexpr size_t kKopf = 28;  // seven words
  std::string echt_;
  testing::TempFolder ordner_;
};

TEST_F(Katalog, TheBuiltCatalogueIsSoundAndEveryCutOneIsRefused) {
  EXPECT_TRUE(Gueltig(echt_));
  EXPECT_FALSE(KatalogGueltig(ordner_ / "fehlt.mo"));
  for (size_t laenge : {size_t{0}, kKopf - 1, kKopf, echt_.size() / 2, echt_.size() - 1}) {
    EXPECT_FALSE(Gueltig(echt_.substr(0, laenge))) << laenge;
  }
  EXPECT_FALSE(Gueltig(std::string(echt_.size(), 'x')));
}

TEST_F(Katalog, ATableOrATextBeyondTheEndIsRefused) {
  const uint32_t originale = Wort(12);
  std::string inhalt = echt_;
  // The last original text ending at the end of the file, without its zero byte; then the
  // table of the originals beginning at the end.
  const size_t letzter = originale + 8 * (Wort(8) - 1);
  WortSetzen(inhalt, letzter + 4, static_cast<uint32_t>(echt_.size() - Wort(letzter)));
  EXPECT_FALSE(Gueltig(inhalt));
  // A text without its zero byte, which gettext would read on past.
  inhalt = echt_;
  inhalt[Wort(letzter + 4) + Wort(letzter)] = 'x';
  EXPECT_FALSE(Gueltig(inhalt));
  inhalt = echt_;
  WortSetzen(inhalt, 12, static_cast<uint32_t>(echt_.size()));
  EXPECT_FALSE(Gueltig(inhalt));
  inhalt = echt_;
  WortSetzen(inhalt, 8, 0x7fffffff);  // far more texts than the tables hold
  EXPECT_FALSE(Gueltig(inhalt));
  inhalt = echt_;
  WortSetzen(inhalt, 4, 1);  // a revision gettext reads differently
  EXPECT_FALSE(Gueltig(inhalt));
}

// LC_ALL of the process while it lives: setlocale reads the process's own environment.
class LcAll {
 public:
  explicit LcAll(const char* wert) {
    const char* alt = std::getenv("LC_ALL");
    if (alt != nullptr) alt_ = alt;
    ::setenv("LC_ALL", wert, 1);
  }
  ~LcAll() {
    if (alt_) {
      ::setenv("LC_ALL", alt_->c_str(), 1);
    } else {
      ::unsetenv("LC_ALL");
    }
  }
  LcAll(const LcAll&) = delete;
  LcAll& operator=(const LcAll&) = delete;

 private:
  std::optional<std::string> alt_;
};

// Each test leaves the program in German, as the other tests expect it.
class Einrichten : public ::testing::Test {
 protected:
  void TearDown() override { testing::DeutschEinrichten(); }
};

TEST_F(Einrichten, AnotherLanguageInTheSameProcessTakesEffectAtOnce) {
  // A locale that stays, since the environment names one that is not installed.
  const LcAll fehlt("xx_YY.UTF-8");
  std::setlocale(LC_MESSAGES, "C.UTF-8");
  for (int runde = 0; runde < 2; ++runde) {
    SpracheEinrichten(Umgebung({{"LANG", "en_US.UTF-8"}}), KatalogOrdner());
    EXPECT_STREQ(_("weiter"), "Next");
    SpracheEinrichten(Umgebung({{"LANG", "de_DE.UTF-8"}}), KatalogOrdner());
    EXPECT_STREQ(_("weiter"), "weiter");
  }
}

TEST_F(Einrichten, AMissingOrDamagedCatalogueLeavesTheProgramGerman) {
  testing::TempFolder ordner;
  const Umgebungsleser englisch = Umgebung({{"LANG", "en_US.UTF-8"}});
  EXPECT_EQ(SpracheEinrichten(englisch, ordner.path()), "de");
  EXPECT_STREQ(_("Abbrechen"), "Abbrechen");

  const std::string echt = testing::ReadTestFile(KatalogDatei(KatalogOrdner(), "en"));
  const std::string kaputt = KatalogDatei(ordner.path(), "en");
  std::filesystem::create_directories(std::filesystem::path(kaputt).parent_path());
  testing::WriteWholeFile(kaputt, echt.substr(0, echt.size() / 2));
  EXPECT_EQ(SpracheEinrichten(englisch, ordner.path()), "de");
  EXPECT_STREQ(_("Abbrechen"), "Abbrechen");
  EXPECT_EQ(Festkomma(5, 1), "0,5");
}

TEST_F(Einrichten, TheEnglishPluralAndContextFollowTheCatalogue) {
  const testing::InSprache englisch("en_US.UTF-8");
  EXPECT_EQ(Format(NG_("{} Bild", "{} Bilder", 1), 1), "1 picture");
  EXPECT_EQ(Format(NG_("{} Bild", "{} Bilder", 2), 2), "2 pictures");
  EXPECT_EQ(Dezimalzeichen(), ".");
  // A text the catalogue does not know stays as it is, context or not.
  const char* unbekannt = "kein Text des Programms";
  EXPECT_EQ(P_("nirgends", unbekannt), unbekannt);
  EXPECT_EQ(_(unbekannt), unbekannt);
  EXPECT_STREQ(_(""), "");
}

TEST(Festkomma, WritesTheDecimalsOfTheLanguageWithLeadingZeros) {
  EXPECT_EQ(Festkomma(3635, 2), "36,35");
  EXPECT_EQ(Festkomma(5, 2), "0,05");
  EXPECT_EQ(Festkomma(-5, 2), "-0,05");
  EXPECT_EQ(Festkomma(100, 1), "10,0");
  EXPECT_EQ(Festkomma(7, 0), "7");
  EXPECT_EQ(Festkomma(INT64_MIN, 0), "-9223372036854775808");
}

TEST(Format, FillsPlaceholdersInOrderOrByNumber) {
  EXPECT_EQ(Format("{} von {}", 3, "vier"), "3 von vier");
  EXPECT_EQ(Format("{1} vor {0}", "a", std::string("b")), "b vor a");
  EXPECT_EQ(Format("{{}} {} }}", -1), "{} -1 }");
  // What has no argument stays, so a faulty translation shows rather than crashes.
  EXPECT_EQ(Format("{} {} {2} {x} {", 1), "1 {} {2} {x} {");
  EXPECT_EQ(Format("ohne"), "ohne");
}

}  // namespace
}  // namespace tilvendo
