// (placeholder bodies until this concern is written)
#include "textmodel/Colorizer.h"
CColorizer::CColorizer() : caseInsensitive(1), mode(L"Vorn1") {}
CColorizer::~CColorizer() = default;
void CColorizer::LoadKeywords(const std::wstring&) {}
void CColorizer::LoadOperators() {}
void CColorizer::LoadFlowKeywords() {}
bool CColorizer::IsDatMnemonic1(const std::string&) { return false; }
bool CColorizer::IsKeyword(const std::string&) { return false; }
bool CColorizer::IsDatDirective1(const std::string&) { return false; }
bool CColorizer::IsDatMnemonic2(const std::string&) { return false; }
bool CColorizer::IsDatDirective2(const std::string&) { return false; }
bool CColorizer::IsOperator(const std::string&) { return false; }
bool CColorizer::IsFlowKeyword(const std::string&) { return false; }
bool CColorizer::IsConVarKeyword(const std::string&) { return false; }
bool CColorizer::IsObjKeyword(const std::string&) { return false; }
std::uint16_t CColorizer::SetsHolding(const char*, std::size_t) const { return 0; }
