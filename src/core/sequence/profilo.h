#pragma once
// A sample as HaploGrep and EMPOP exchange it: a profile of the .hsd format, one line per
// sample, TAB-separated: identifier, range, haplogroup ("?" when unknown), then the variants
// from the rCRS in the field's notation (73G 263G 315.1C 523d 16093Y), each in a field of its
// own or several in one, blank-separated. The range lists the stretches the sample covers,
// separated by ";": "16024-16569;1-576", a single position for a typed site ("73"), a stretch
// across the origin as "16024-576". A line that starts the file with "SampleId" is the header.
// The reader and the writer of a profile's text stand side by side here.

#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/intervallo.h"
#include "sequence/variante.h"

namespace vorlane {

struct Profilo {
  std::vector<Intervallo> tratti;  // in the line's order; one may run across the origin
  std::string aplogruppo;          // as the line gives it
  std::vector<Variante> varianti;  // in the line's order, one per base of an insertion
};

inline constexpr std::string_view kIntestazioneProfili[] = {"SampleId", "Range", "Haplogroup",
                                                            "Polymorphisms"};

// Whether the file's name ends in .hsd, in either case.
bool nomeDiProfili(const std::filesystem::path& file);
// Whether the line is the header of an .hsd file.
bool intestazioneProfili(std::string_view riga);

// Reads the fields after the identifier (`campi`: range, haplogroup, variants) into `profilo`;
// why not, when they are no profile: a range or a variant that cannot be read, a variant
// outside the range or two at one site. A multi-base insertion ("8289.1CCT") becomes one
// variant per base; "D" after a position is a deletion, as in HaploGrep.
std::string leggiProfilo(std::string_view campi, Profilo& profilo);

// The stretches as the range column writes them: "16024-16569;1-576", a stretch across the
// origin split there, a single position alone.
void aggiungiTratti(std::string& testo, std::span<const Intervallo> tratti);

}  // namespace vorlane
