#include "engine/zuordnungsfluss.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "lauf_testkacheln.h"

namespace tilvendo {
namespace {

struct Zufallsproblem {
  Flussproblem problem;
  std::vector<std::vector<int32_t>> kosten;  // [cell][photo]
};

// Every pair given; limits random but always allowing an assignment.
Zufallsproblem Erzeugen(std::mt19937& gen, int32_t zellen, int32_t fotos) {
  Zufallsproblem z;
  z.problem.zellen = zellen;
  z.problem.ersatzKosten = 766;
  std::uniform_int_distribution<int32_t> preis(0, 60);
  std::uniform_int_distribution<int32_t> grenze(0, 3);
  z.kosten.assign(static_cast<size_t>(zellen), std::vector<int32_t>(static_cast<size_t>(fotos)));
  for (int32_t c = 0; c < zellen; ++c) {
    for (int32_t p = 0; p < fotos; ++p) {
      const int32_t k = preis(gen);
      z.kosten[static_cast<size_t>(c)][static_cast<size_t>(p)] = k;
      z.problem.paare.push_back(Flusspaar{c, p, k});
    }
  }
  int32_t untenSumme = 0;
  int32_t obenSumme = 0;
  for (int32_t p = 0; p < fotos; ++p) {
    const int32_t o = 1 + grenze(gen);
    const int32_t u = std::min(o, grenze(gen) / 2);
    z.problem.unten.push_back(untenSumme + u <= zellen ? u : 0);
    z.problem.oben.push_back(o);
    untenSumme += z.problem.unten.back();
    obenSumme += o;
  }
  if (obenSumme < zellen) z.problem.oben.back() += zellen - obenSumme;
  return z;
}

// The flow, the limits and the prices of a solution, checked against its problem: each
// cell holds one pair or goes through the spare node, and no pair given could make it
// cheaper.
void Pruefen(const Flussproblem& problem, const Flussloesung& loesung, const std::string& fall) {
  std::vector<int32_t> nutzung(problem.unten.size(), 0);
  int64_t summe = 0;
  int32_t ersatzZellen = 0;
  for (int32_t c = 0; c < problem.zellen; ++c) {
    const int32_t paar = loesung.paar[static_cast<size_t>(c)];
    if (paar == kErsatzPaarung) {
      ++ersatzZellen;
      continue;
    }
    const Flusspaar& p = problem.paare[static_cast<size_t>(paar)];
    ASSERT_EQ(p.zelle, c) << fall;
    ++nutzung[static_cast<size_t>(p.foto)];
    summe += p.kosten;
  }
  int32_t ersatzFotos = 0;
  for (size_t p = 0; p < nutzung.size(); ++p) {
    EXPECT_GE(nutzung[p] + loesung.ersatz[p], problem.unten[p]) << fall;
    EXPECT_LE(nutzung[p] + loesung.ersatz[p], problem.oben[p]) << fall;
    ersatzFotos += loesung.ersatz[p];
  }
  // Cells through the spare node without a photo stay empty, where that is allowed.
  const int32_t leer = ersatzZellen - ersatzFotos;
  EXPECT_GE(leer, 0) << fall;
  if (problem.leerKosten < 0) {
    EXPECT_EQ(leer, 0) << fall;
  }
  EXPECT_EQ(
      summe + int64_t{ersatzFotos} * problem.ersatzKosten + int64_t{leer} * problem.leerKosten,
      loesung.kosten)
      << fall;
  for (size_t i = 0; i < problem.paare.size(); ++i) {
    const Flusspaar& p = problem.paare[i];
    const int64_t reduziert = ReduzierteKosten(loesung, p.zelle, p.foto, p.kosten);
    if (loesung.paar[static_cast<size_t>(p.zelle)] == static_cast<int32_t>(i)) {
      EXPECT_EQ(reduziert, 0) << fall << ", pair " << i;
    } else {
      EXPECT_GE(reduziert, 0) << fall << ", pair " << i;
    }
  }
}

TEST(FlussLoesen, FindsTheCheapestOfAllAssignments) {
  std::mt19937 gen(5);
  for (int runde = 0; runde < 150; ++runde) {
    const auto zellen = static_cast<int32_t>(1 + gen() % 6);
    const auto fotos = static_cast<int32_t>(1 + gen() % 4);
    const Zufallsproblem z = Erzeugen(gen, zellen, fotos);
    const Flussloesung loesung = FlussLoesen(z.problem);
    ASSERT_EQ(loesung.kosten, testing::Durchprobiert(z.kosten, z.problem.unten, z.problem.oben))
        << "round " << runde;
    Pruefen(z.problem, loesung, "round " + std::to_string(runde));
  }
}

TEST(FlussLoesen, PricesShowWhichMissingPairsCouldHelpAndNoGivenOne) {
  std::mt19937 gen(9);
  for (int runde = 0; runde < 60; ++runde) {
    const Zufallsproblem voll = Erzeugen(gen, 6, 4);
    // Only every other pair is given; the spare node joins the rest.
    Flussproblem teil = voll.problem;
    teil.paare.clear();
    for (size_t i = 0; i < voll.problem.paare.size(); i += 2) {
      teil.paare.push_back(voll.problem.paare[i]);
    }
    const Flussloesung loesung = FlussLoesen(teil);
    Pruefen(teil, loesung, "round " + std::to_string(runde));
    // When no missing pair has a negative reduced cost, the given ones hold the
    // optimum of all pairs.
    bool hilft = false;
    for (const Flusspaar& p : voll.problem.paare) {
      hilft = hilft || ReduzierteKosten(loesung, p.zelle, p.foto, p.kosten) < 0;
    }
    const int64_t optimum = FlussLoesen(voll.problem).kosten;
    if (!hilft) {
      EXPECT_EQ(loesung.kosten, optimum) << "round " << runde;
    }
    EXPECT_GE(loesung.kosten, optimum);
  }
}

TEST(FlussLoesen, SpareNodeCarriesWhatThePairsCannotAndCellsStayEmptyOnlyWhenAllowed) {
  // Two cells, two photos of one use each, but both cells are paired only with photo 0.
  Flussproblem problem;
  problem.zellen = 2;
  problem.unten = {0, 1};
  problem.oben = {1, 1};
  problem.paare = {{0, 0, 5}, {1, 0, 7}};
  problem.ersatzKosten = 766;
  Flussloesung loesung = FlussLoesen(problem);
  // Photo 1 must be used: one cell reaches it through the spare node, the cheaper pair
  // keeps photo 0.
  EXPECT_EQ(loesung.paar, (std::vector<int32_t>{0, kErsatzPaarung}));
  EXPECT_EQ(loesung.ersatz, (std::vector<int32_t>{0, 1}));
  EXPECT_EQ(loesung.kosten, 5 + 766);

  // Three cells, photos that take two: without empty cells there is no solution.
  problem.zellen = 3;
  problem.unten = {0, 0};
  problem.paare = {{0, 0, 5}, {1, 0, 7}, {2, 1, 1}};
  EXPECT_THROW(FlussLoesen(problem), std::invalid_argument);
  problem.leerKosten = 2000;
  loesung = FlussLoesen(problem);
  // Cell 1 goes through the spare node, but no photo does: it stays empty.
  EXPECT_EQ(loesung.paar, (std::vector<int32_t>{0, kErsatzPaarung, 2}));
  EXPECT_EQ(loesung.ersatz, (std::vector<int32_t>{0, 0}));
  EXPECT_EQ(loesung.kosten, 5 + 1 + 2000);
  // Without the spare node the pairs alone must do.
  problem.ersatzKosten = -1;
  problem.leerKosten = -1;
  problem.oben = {2, 1};
  loesung = FlussLoesen(problem);
  EXPECT_EQ(loesung.paar, (std::vector<int32_t>{0, 1, 2}));
  problem.unten = {0, 1};
  problem.paare = {{0, 0, 5}, {1, 0, 7}, {2, 0, 1}};
  problem.oben = {3, 1};
  EXPECT_THROW(FlussLoesen(problem), std::invalid_argument);
  problem.ersatzKosten = 766;
  problem.paare.push_back({0, 1, 2});

  EXPECT_EQ(FlussLoesen(problem).kosten, 2 + 7 + 1);
  // Lower limits beyond the cells have no solution either.
  problem.unten = {2, 2};
  problem.oben = {2, 2};
  EXPECT_THROW(FlussLoesen(problem), std::invalid_argument);
  problem.unten = {1, 1};
  problem.oben = {2, 2};
  problem.paare.push_back({0, 7, 1});  // a photo that does not exist
  EXPECT_THROW(FlussLoesen(problem), std::invalid_argument);
}

TEST(Flussloeser, EachSolveFromTheOneBeforeReachesTheOptimumOfAFreshOne) {
  std::mt19937 gen(21);
  for (int runde = 0; runde < 40; ++runde) {
    const auto zellen = static_cast<int32_t>(20 + gen() % 40);
    const auto fotos = static_cast<int32_t>(5 + gen() % 30);
    Zufallsproblem voll = Erzeugen(gen, zellen, fotos);
    if (runde % 4 == 3) {
      // Photos of one use each, fewer than the cells may be: cells stay empty.
      for (size_t p = 0; p < voll.problem.oben.size(); ++p) {
        voll.problem.unten[p] = 0;
        voll.problem.oben[p] = 1;
      }
      voll.problem.leerKosten = 1600;
    }
    // The pairs in a random order, given a few at first and more in each step: now many
    // at once, now a single one, so that both ways of solving again are taken.
    std::vector<Flusspaar> paare = voll.problem.paare;
    std::shuffle(paare.begin(), paare.end(), gen);
    Flussproblem teil = voll.problem;
    teil.paare.assign(paare.begin(), paare.begin() + zellen);
    Flussloeser loeser;
    size_t gegeben = teil.paare.size();
    for (int schritt = 0; gegeben < paare.size(); ++schritt) {
      const std::string fall =
          "round " + std::to_string(runde) + ", step " + std::to_string(schritt);
      const Flussloesung loesung = loeser.Loesen(teil);
      EXPECT_EQ(loesung.kosten, FlussLoesen(teil).kosten) << fall;
      Pruefen(teil, loesung, fall);
      const size_t dazu = schritt % 3 == 2 ? 1 : 1 + gen() % (paare.size() / 3);
      const size_t bis = std::min(paare.size(), gegeben + dazu);
      teil.paare.insert(teil.paare.end(), paare.begin() + static_cast<std::ptrdiff_t>(gegeben),
                        paare.begin() + static_cast<std::ptrdiff_t>(bis));
      gegeben = bis;
    }
    const Flussloesung loesung = loeser.Loesen(teil);
    EXPECT_EQ(loesung.kosten, FlussLoesen(voll.problem).kosten) << "round " << runde;
    Pruefen(teil, loesung, "round " + std::to_string(runde));
  }
}

TEST(Flussloeser, AnotherProblemIsSolvedAfresh) {
  std::mt19937 gen(23);
  Flussloeser loeser;
  std::uniform_int_distribution<int32_t> preis(0, 60);
  for (int runde = 0; runde < 30; ++runde) {
    // Problems of their own, each after another one: of another size, of the same cells
    // and limits but the pairs in another order and other prices (a flow carried over
    // would sit on the wrong pairs), the same but one pair dearer, or the same pairs
    // but every photo needed.
    const Zufallsproblem z = Erzeugen(gen, runde % 2 == 0 ? 6 : 5, 4);
    Flussproblem andere = z.problem;
    std::shuffle(andere.paare.begin(), andere.paare.end(), gen);
    for (Flusspaar& p : andere.paare) p.kosten = preis(gen);
    Flussproblem teurer = andere;
    teurer.paare[gen() % teurer.paare.size()].kosten += 50;
    Flussproblem jedes = teurer;
    jedes.unten.assign(jedes.unten.size(), 1);
    const std::array<const Flussproblem*, 4> folge{&z.problem, &andere, &teurer, &jedes};
    for (const Flussproblem* problem : folge) {
      const std::string fall = "round " + std::to_string(runde);
      const Flussloesung loesung = loeser.Loesen(*problem);
      EXPECT_EQ(loesung.kosten, FlussLoesen(*problem).kosten) << fall;
      Pruefen(*problem, loesung, fall);
    }
  }
}

}  // namespace
}  // namespace tilvendo
