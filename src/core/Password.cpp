#include "core/Password.h"

#include "core/TextCodec.h"
#include "core/TextRules.h"

std::string DigestOfTypedPassword(std::string_view typedUtf8) {
    return PasswordDigest(typedUtf8);
}

bool PasswordMatches(std::string_view typedUtf8, const std::string& digest) {
    if (PasswordDigest(typedUtf8) == digest)
        return true;
    std::string windows1252;
    return EncodeWindows1252(typedUtf8, windows1252) && windows1252 != typedUtf8 &&
           PasswordDigest(windows1252) == digest;
}
