// The rule functions of the three sections and the two closing handlers: the
// points where the document walk hands elements and section ends to the rules.
#pragma once

#include <string_view>

namespace quelt {

inline constexpr int kNecsavSize = 8;  // necsav_AA0013: 7 characters and the terminator

// The rule functions of the three sections take an element's name and
// content with their lengths, which the element step knows. Both views end
// where their texts' NUL stands (the element step's buffers, or literals), so
// their data serve as C strings as well.
int k_Pre(std::string_view name, std::string_view content);  // submitter header element
int k_Tel(std::string_view name, std::string_view content);  // employer element
int k_Nec(std::string_view name, std::string_view content);  // employee record element

int zpracuj_NECk();  // mode O: employee closing rules
int k_NecK();
int zpracuj_TELk();  // mode U: employer closing rules

// Set by the walk: 'A' once a record of the current employer has started.
extern char sw_bylNEC;

// Employer totals accepted by the employer rules.
extern double atel_iAA0116, atel_iAA0123, atel_iAA0114, atel_iAA0115, atel_iAA0118,
    atel_iAA0119;
int chk_AA0116(double x);
int chk_AA0123(double x);
int chk_AA0118(double x);

// Employer start: atel_iAA0116, atel_iAA0115 and atel_iAA0114 start again.
void start_employer_rules();

// Text of the last occupation code met (AA0013); never reset within a run.
extern char necsav_AA0013[kNecsavSize];

// Education summary of the employer closing rules: the first record's code in
// employee order, the number of records with a code below 'C', and 'A' while
// all records share one code. Started again at each employer start.
extern char sav_AA0223;
extern int sumz_AA0223_Z;
extern char sw_stejne_vzdelani;

// Run-start resets, one per rule module.
void reset_employer_rules();
void reset_employee_rules();

}  // namespace quelt
