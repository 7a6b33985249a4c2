// Section handlers that walk the document: the prolog, the root ORV, the
// submitter header, the employers and the employee records. They read through
// the element reader, recognise the structural tags that change the mode, hand
// every other element to the rule function of its section and check the
// element counts of each section at its fixed points.
#pragma once

#include <string>

namespace quelt {

int zpracuj_ZACp();  // Z: prolog up to the root start tag
int zpracuj_ORVz();  // G: rest of the root start tag
int zpracuj_ORV();   // H: submitter header and root level
int zpracuj_ORVm();  // I: after the root end
int zpracuj_ORVk();  // J: root end
int zpracuj_TELz();  // S: employer start
int zpracuj_TEL();   // T: employer elements
int zpracuj_NECz();  // M: employee record start
int zpracuj_NEC();   // N: employee elements

// The findings of the document as a whole, at the end of the input: ES306
// when no root end tag was read, ES308 when no employer started.
void check_document_end();

void reset_sections();

// What the run read of the submission, for a caller that sums many runs up
// (the batch's summary). No check reads it, so it changes no output. The
// texts are the values as read, joined by ", ", and bounded: a hostile file
// cannot make them large.
struct SubmissionSummary {
    std::string predkladatel;    // ICOpredkladatele
    std::string zamestnavatele;  // AA0017 of every employer
    long long zaznamu = 0;       // employee records (start tags "zamestnanec")
};
const SubmissionSummary& submission_summary();

}  // namespace quelt
