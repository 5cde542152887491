#pragma once
// The page frame and the pieces shared by the three HTML reports. Pages are declared us-ascii:
// every text value goes through htmlTesto, which escapes markup and writes non-ASCII
// characters as numeric references.

#include <filesystem>
#include <string>
#include <string_view>

#include "io/scrittura.h"

namespace vorlane {

std::string htmlTesto(std::string_view cp1252);
// The same appended to `uscita`, for texts built once per row of a large table.
void aggiungiHtml(std::string& uscita, std::string_view cp1252);
// The same into the line under way of a page.
void aggiungiHtml(ScrittoreTesto& pagina, std::string_view cp1252);

// The 32 opening lines; `titolo` is the page's title text (written after six blanks).
void aperturaPagina(ScrittoreTesto& pagina, std::string_view titolo);
// The 5 closing lines.
void chiusuraPagina(ScrittoreTesto& pagina);
// "       <TABLE border cellspacing= 1  cellpadding= 3 >": numbers printed as separate items
// carry a blank on each side.
void aperturaTabellaRiassunto(ScrittoreTesto& pagina);
// A five-line cell: "<TD>", "<P>", the content line as given, "</P>", "</TD>".
void cella(ScrittoreTesto& pagina, std::string_view rigaContenuto);
// The rows of the large tables are built as text, every line ended by CR LF, and written with
// one call: a page of 100,000 samples holds millions of lines. These append the cells so.
// The content line is `rientro` followed by `contenuto`.
void righeCella(std::string& righe, std::string_view rientro, std::string_view contenuto);
// The same cell in two halves, for rows whose fixed text is put together once: the lines up to
// the content's indent, and those after the content.
void aperturaCella(std::string& righe, std::string_view rientro);
void chiusuraCella(std::string& righe);
void righeCellaGriglia(std::string& righe, std::string_view apertura, std::string_view contenuto);
// Writes lines that already end with CR LF.
void scriviRighe(ScrittoreTesto& pagina, std::string_view righe);
// A header cell with a bold label, and a data cell with a value (both escaped).
void cellaIntestazione(ScrittoreTesto& pagina, std::string_view etichetta);
void cellaDati(ScrittoreTesto& pagina, std::string_view valore);

// The colour legend shared by the matrix and the comparison page: a title row and three cells
// (base equal to the reference, mutated position, alignment note). The two pages indent the
// mutated cell's text differently, hence `rientroMutata` (blanks before it; the others get 21).
struct TestiLegenda {
  std::string_view titolo, uguale, mutata, allineate;
};
void tabellaLegenda(ScrittoreTesto& pagina, const TestiLegenda& testi, std::size_t rientroMutata);

// Report name of a sample file: the file name without its last four characters, cut before its
// first "." (sample.FASTA and sample.ARL give sample, a.b.ARL gives a).
std::string nomeBaseReport(const std::filesystem::path& file);

// A cell of the base grids: its opening line, "<P>", the content line as given, "</P>", "</TD>".
void cellaGriglia(ScrittoreTesto& pagina, std::string_view apertura, std::string_view contenuto);
// Opens a base grid with its title row: a first cell with the bold `primaEtichetta` and a cell
// spanning the grid with the bold `titolo`.
void aperturaGriglia(ScrittoreTesto& pagina, std::string_view primaEtichetta,
                     std::string_view titolo);

}  // namespace vorlane
