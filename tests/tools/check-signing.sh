#!/bin/sh
# Makes the release bundle with a throwaway self-signed code-signing certificate through the
# build's own package step (cpack), verifies the signature and digest of every program it signs,
# runs an unattended install and removal with the signed installer under Wine, and makes sure
# that a wrong password fails the packaging with its one line.
# Usage: check-signing.sh BUILD_DIR SOURCE_DIR SETUP_NAME
set -u
BUILD="$1"; SOURCE="$2"; SETUP="$3"
work="$BUILD/signing-test"; win="$WINEPREFIX/drive_c/signing-test"
rm -rf "$work" "$win"; mkdir -p "$work" "$win"; cd "$work" || exit 1
fail() { echo "FAIL: $*"; exit 1; }
echo "pondway test password" >password.txt; echo "another password" >wrong.txt
{ openssl req -x509 -newkey rsa:2048 -nodes -keyout key.pem -out cert.pem -days 2 -subj "/CN=Pondway Test Signer" \
    -addext extendedKeyUsage=codeSigning && openssl pkcs12 -export -inkey key.pem -in cert.pem -out cert.p12 \
    -passout file:password.txt; } >openssl.log 2>&1 || fail "openssl could not make the certificate (openssl.log)"
pack() { (cd "$BUILD" && cpack --config CPackConfig.cmake -B "$work/pack" -D CPACK_OUTPUT_FILE_PREFIX="$work" \
    -D CPACK_SIGN_PKCS12="$work/cert.p12" -D CPACK_SIGN_PASSWORD_FILE="$work/$1") >"$work/$1.log" 2>&1; }
pack wrong.txt && fail "packaging with a wrong password succeeded"
grep -q "Signing the release bundle failed: osslsigncode could not sign .*Wrong password" wrong.txt.log || fail "no line names the wrong password"
pack password.txt || fail "cpack with the certificate (password.txt.log)"
unzip -q -o pondway-setup-*.zip && cd pondway-setup-*/ || fail "no bundle made"
for program in setup.exe setup64.exe setupcheck.exe setupcheck64.exe sample-package/SETUP.EXE; do
  osslsigncode verify -CAfile "$work/cert.pem" -in "$program" >verify.log 2>&1 && grep -q "^Signature verification: ok" verify.log &&
    [ "$(awk '/^(Current|Calculated) message digest/ { print $NF }' verify.log | uniq | wc -l)" -eq 1 ] &&
    grep -q "Subject: /CN=Pondway Test Signer" verify.log || fail "$program: $(cat verify.log)"
  echo "ok: $program carries a valid signature of the test certificate"
done
cp -r sample-package "$win/pkg" && cp "$SETUP.exe" "$win/pkg/SETUP.EXE"
sh "$SOURCE/scripts/wine-run.sh" 'C:\signing-test\pkg\SETUP.EXE' /quiet '/dir=C:\signing-test\Puzzle' || fail "signed install: exit $?"
[ -f "$win/Puzzle/PUZZLE.EXE" ] || fail "the signed installer installed no PUZZLE.EXE"
sh "$SOURCE/scripts/wine-run.sh" 'C:\signing-test\Puzzle\SETUP.EXE' /r /quiet || fail "signed removal: exit $?"
[ ! -e "$win/Puzzle/PUZZLE.EXE" ] || fail "the removal left PUZZLE.EXE"
# The removal leaves the application's own key on purpose; the prefix is shared with later tests.
sh "$SOURCE/scripts/wine-run.sh" reg delete 'HKCU\Software\Tamberlyn\tq' /f >/dev/null 2>&1
echo "ok: the signed $SETUP.exe installed and removed the sample package"; rm -rf "$win"
