#include "verdict.h"

#include <cstdint>
#include <cstdlib>

#include "number_text.h"

namespace zr {
namespace {

// "1234 Ft": the amount as the labels show it, without its sign.
std::string AmountText(std::int32_t balance) {
  return WholeNumberText(std::llabs(std::int64_t{balance})) + " Ft";
}

// The sentence, capitalised; after a replaced box the reader is told that
// the corrected texts were taken.
std::string Sentence(std::string body, bool replaced) {
  if (replaced) return "A kijavított adatokkal számolva " + body;
  body[0] = static_cast<char>(body[0] - 'a' + 'A');  // every body starts with "a"
  return body;
}

std::string Body(const RunOutcome& outcome, const NumberFormat& format, VerdictKind& kind) {
  if (outcome.fault || !outcome.results.yearly) {
    kind = VerdictKind::kNotComputed;
    return "az eredmény nem számítható ki, mert a számítás túl nagy értékekhez vezetett: "
           "adjon meg kisebb értékeket!";
  }
  const std::string period = MoneyText(outcome.inputs.Elettartam, format);
  const std::string within = "a vizsgált " + period + " éves időszakon belül";
  const std::int32_t balance = outcome.results.yearly->Egyenleg;
  const std::optional<Money>& payback = outcome.results.Megterulesiido;
  const bool paid_back_within = payback && *payback <= outcome.inputs.Elettartam;
  const std::string payback_years = payback ? MoneyText(*payback, format) + " év" : "";

  if (balance > 0) {
    kind = VerdictKind::kPaysOff;
    const std::string gain = "évente átlagosan " + AmountText(balance) + " nyereséget hoz";
    if (paid_back_within && *payback == Money{}) {
      return "a beruházás " + within + " szinte azonnal megtérül, és " + gain + ".";
    }
    if (paid_back_within) {
      return "a beruházás " + within + ", " + payback_years + " alatt megtérül, és " + gain + ".";
    }
    // The payback time charges the costs on the subsidised investment, the
    // balance on the full one; the two can tell apart.
    const std::string whole =
        "a beruházás a vizsgált " + period + " éves időszak egészére számolva megtérül, és " + gain;
    if (!payback) return whole + ", bár megtérülési időt 100 éven belül sem talált a program.";
    return whole + ", bár a megtérülési idő (" + payback_years + ") hosszabb ennél.";
  }
  if (balance == 0) {
    kind = VerdictKind::kBreaksEven;
    return "a beruházás a vizsgált " + period +
           " éves időszak alatt éppen csak megtérül: a megtakarítás fedezi a költségeket, "
           "de nyereséget nem hoz.";
  }
  kind = VerdictKind::kDoesNotPayOff;
  const std::string loss = "évente átlagosan " + AmountText(balance) + " veszteséget okoz";
  if (!payback) {
    return "a beruházás " + within + " nem térül meg, 100 év alatt sem, és " + loss + ".";
  }
  if (!paid_back_within) {
    return "a beruházás " + within + " nem térül meg (csak " + payback_years + " alatt), és " +
           loss + ".";
  }
  return "a beruházás a vizsgált " + period + " éves időszak egészére számolva nem térül meg, és " +
         loss + ", noha a megtérülési idő (" + payback_years + ") az időszakon belül van.";
}

}  // namespace

Verdict VerdictOf(const RunOutcome& outcome, const NumberFormat& format) {
  Verdict verdict{VerdictKind::kNotComputed, {}};
  verdict.text = Sentence(Body(outcome, format, verdict.kind), !outcome.findings.empty());
  return verdict;
}

}  // namespace zr
