#pragma once
// The access key of a caption such as "E&xit": the character after a single "&", lower
// case; "&&" is a literal ampersand. 0 when the caption has none.
#include <string>

char MnemonicOf(const std::string& caption);

// The caption as it reads, without the access-key marks ("E&xit" -> "Exit", "A&&B" -> "A&B").
std::string WithoutMnemonic(const std::string& caption);
