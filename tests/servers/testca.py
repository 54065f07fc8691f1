#!/usr/bin/python3
"""Test-only certificates: a private CA, CN-only server certificates for loopback addresses and
code-signing certificates.

Generated with the openssl command line on first use and kept in one folder, so a Wine prefix
only ever has to trust one CA. Wine matches the host against the certificate's CN and ignores
IP entries of a subjectAltName, so server certificates carry CN=<address> and no SAN.
Nothing here is a secret: the keys never leave the test machine and are never committed.

CLI: testca.py DIR [ADDRESS...]  prints the CA certificate path, then "cert key" per address.
     testca.py DIR --code-signing NAME SUBJECT  prints "cert key sha256" for the code-signing
         certificate DIR/NAME.crt (SUBJECT like "/CN=Publisher/O=Org"); sha256 is the hex
         SHA-256 of its SubjectPublicKeyInfo, the value a publisher pin holds.
"""
import hashlib
import os
import subprocess
import sys
import tempfile

CA_NAME = "Tandrel Test Root CA (tests only)"
DAYS = "825"


def _openssl(*args):
    subprocess.run(["openssl", *args], check=True, stdout=subprocess.DEVNULL,
                   stderr=subprocess.PIPE)


def _valid(cert, seconds=86400):
    if not os.path.exists(cert):
        return False
    return subprocess.run(["openssl", "x509", "-in", cert, "-noout", "-checkend", str(seconds)],
                          stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode == 0


def _replace(tmp, final):
    os.replace(tmp, final)


def ensure_ca(folder):
    """Returns (ca_cert, ca_key), creating them when missing or about to expire."""
    os.makedirs(folder, exist_ok=True)
    cert = os.path.join(folder, "ca.crt")
    key = os.path.join(folder, "ca.key")
    if _valid(cert) and os.path.exists(key):
        return cert, key
    # Written under temporary names and renamed, so parallel starters never see half a file.
    with tempfile.TemporaryDirectory(dir=folder) as tmp:
        tkey, tcert = os.path.join(tmp, "ca.key"), os.path.join(tmp, "ca.crt")
        _openssl("req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", tkey, "-out", tcert,
                 "-days", DAYS, "-subj", "/CN=" + CA_NAME,
                 "-addext", "basicConstraints=critical,CA:TRUE",
                 "-addext", "keyUsage=critical,keyCertSign,cRLSign")
        _replace(tkey, key)
        _replace(tcert, cert)
    return cert, key


def _ensure_leaf(folder, name, subject, extensions):
    """Returns (cert, key) of the certificate NAME with SUBJECT and EXTENSIONS, signed by the
    folder's CA; kept while valid and younger than the CA."""
    ca_cert, ca_key = ensure_ca(folder)
    cert = os.path.join(folder, name + ".crt")
    key = os.path.join(folder, name + ".key")
    if (_valid(cert) and os.path.exists(key)
            and os.path.getmtime(cert) >= os.path.getmtime(ca_cert)):
        return cert, key
    with tempfile.TemporaryDirectory(dir=folder) as tmp:
        tkey, tcsr = os.path.join(tmp, "s.key"), os.path.join(tmp, "s.csr")
        tcert, ext = os.path.join(tmp, "s.crt"), os.path.join(tmp, "s.ext")
        with open(ext, "w") as f:
            f.write(extensions)
        _openssl("req", "-newkey", "rsa:2048", "-nodes", "-keyout", tkey, "-out", tcsr,
                 "-subj", subject)
        _openssl("x509", "-req", "-in", tcsr, "-CA", ca_cert, "-CAkey", ca_key,
                 "-CAcreateserial", "-CAserial", os.path.join(tmp, "ca.srl"), "-days", DAYS,
                 "-extfile", ext, "-out", tcert)
        _replace(tkey, key)
        _replace(tcert, cert)
    return cert, key


def ensure_server_cert(folder, address):
    """Returns (cert, key) for CN=address, signed by the folder's CA."""
    return _ensure_leaf(folder, address, "/CN=" + address,
                        "basicConstraints=CA:FALSE\nkeyUsage=digitalSignature,keyEncipherment\n"
                        "extendedKeyUsage=serverAuth\n")


def ensure_code_signing_cert(folder, name, subject):
    """Returns (cert, key) of a code-signing certificate NAME with SUBJECT (like
    "/CN=Publisher/O=Org"), signed by the folder's CA."""
    return _ensure_leaf(folder, name, subject,
                        "basicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature\n"
                        "extendedKeyUsage=codeSigning\n")


def public_key_sha256(cert):
    """Hex SHA-256 of the certificate's DER SubjectPublicKeyInfo."""
    pem = subprocess.run(["openssl", "x509", "-in", cert, "-noout", "-pubkey"], check=True,
                         capture_output=True).stdout
    der = subprocess.run(["openssl", "pkey", "-pubin", "-outform", "DER"], input=pem,
                         check=True, capture_output=True).stdout
    return hashlib.sha256(der).hexdigest()


if __name__ == "__main__":
    if len(sys.argv) >= 5 and sys.argv[2] == "--code-signing":
        signing_cert, signing_key = ensure_code_signing_cert(sys.argv[1], sys.argv[3],
                                                             sys.argv[4])
        print(signing_cert, signing_key, public_key_sha256(signing_cert))
        sys.exit(0)
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    print(ensure_ca(sys.argv[1])[0])
    for a in sys.argv[2:]:
        print(*ensure_server_cert(sys.argv[1], a))
