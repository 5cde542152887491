#pragma once
// Helpers shared by the haplotype comparison tests: sample texts built from the reference, a
// whole operation run as the window runs it, and readers of the log and of the report pages.

#include <map>
#include <string>
#include <vector>

#include "app/operazioni.h"
#include "support/supporto.h"

namespace vorlane::test {

// The reference over [da, a] in upper case, with the given positions replaced.
std::string sequenzaDa(int da, int a, const std::map<int, char>& basi = {});
// A base other than the reference's at p: its transition partner.
char altraBase(int p);
// A command and a double-click on a file of esporta/, as the user does it.
EsitoEvento esegui(Ambiente& amb, Comando comando, const std::string& nomeFile,
                   bool arlequin = false);
// Types the analysis interval into the two boxes.
void intervallo(Ambiente& amb, const std::string& da, const std::string& a);
// The lines of the last block of today's log.
std::vector<std::string> ultimoBloccoRighe(const Ambiente& amb);
// The column `nome` of every data row of the results table the last operation wrote.
std::vector<std::string> colonnaRisultati(const Ambiente& amb, const std::string& nome);
// The rows of a page's last table: the text of each cell's content line, indent removed.
std::vector<std::vector<std::string>> righeUltimaTabella(const std::string& pagina);

}  // namespace vorlane::test
