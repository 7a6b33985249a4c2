// Built-in code lists and registers of the campaign and their look-ups. Each
// cis_ function tests one element value against its list and reports a finding
// on a miss; it returns 0 when the value was found, 1 otherwise.
#pragma once

#include <cstdint>
#include <string_view>

namespace quelt {

// Submitter number of the current header; 0 at run start.
extern std::uint32_t l_predkladatel;
// Identification number of the current employer.
extern std::uint32_t l_poskytovatel;

// Number of entries of the state list; a code not in the list has this position.
int state_count();
// Position (from 0) of a state code's first occurrence, or state_count().
int state_position(std::string_view code);
// The state list's entry at a position; "---" for a position outside the list.
const char* state_at(int pos);

// Identification number text -> number, as the register look-ups read it.
std::uint32_t ico_to_number(const char* text);

int cis_predkladatelu(const char* content);
int cis_poskytovatelu(const char* content);
int cis_kodpraf(const char* content);
int cis_kodnuts(const char* content, const char* element);
int cis_kodzam(const char* content);
int cis_kodstat(const char* content);
int cis_kodvzde(const char* content);
int cis_koddppv(const char* content);
int cis_postzam(const char* content);

void reset_codebooks();

}  // namespace quelt
