#pragma once
// The definitions of the commands, one each; cli/CommandTable.cpp lists them in order.

#include "cli/CommandTable.h"

namespace quillon {

// The analysis and its reports.
extern const CommandSpec kAnalyseCommand;
extern const CommandSpec kCompareCommand;
extern const CommandSpec kPrepareCommand;
extern const CommandSpec kExportCommand;
extern const CommandSpec kTemplateCommand;
extern const CommandSpec kPrintersCommand;
extern const CommandSpec kPrintCommand;
// The other windows' commands and the batch run.
extern const CommandSpec kLinksCommand;
extern const CommandSpec kCalcCommand;
extern const CommandSpec kBatchCommand;
extern const CommandSpec kHelpCommand;

}  // namespace quillon
