#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes password-protected workbooks (password "secret") from general.fods into the current
folder: password.xls and password.ods saved by a headless LibreOffice through its UNO bridge (its
command line cannot set a password), and password.xlsx, whose encryption LibreOffice refuses to
write headless, as the compound file that holds an encrypted .xlsx, built here."""
import os
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time

import uno
from com.sun.star.beans import PropertyValue
from com.sun.star.connection import NoConnectException

SECTOR = 512
END_OF_CHAIN = 0xFFFFFFFE
FREE = 0xFFFFFFFF
FAT_SECTOR = 0xFFFFFFFD
NO_ENTRY = 0xFFFFFFFF


def properties(**values):
    result = []
    for name, value in values.items():
        prop = PropertyValue()
        prop.Name = name
        prop.Value = value
        result.append(prop)
    return tuple(result)


def save_with_office(source):
    work = tempfile.mkdtemp()
    pipe = "quillery-fixtures-%d" % os.getpid()
    office = subprocess.Popen(["soffice", "--headless", "--norestore", "--invisible",
                               "-env:UserInstallation=file://%s/profile" % work,
                               "--accept=pipe,name=%s;urp;" % pipe],
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                              start_new_session=True)
    try:
        local = uno.getComponentContext()
        resolver = local.ServiceManager.createInstanceWithContext(
            "com.sun.star.bridge.UnoUrlResolver", local)
        for _ in range(120):
            try:
                context = resolver.resolve(
                    "uno:pipe,name=%s;urp;StarOffice.ComponentContext" % pipe)
                break
            except NoConnectException:
                time.sleep(0.5)
        else:
            sys.exit("LibreOffice did not start")
        desktop = context.ServiceManager.createInstanceWithContext(
            "com.sun.star.frame.Desktop", context)
        document = desktop.loadComponentFromURL(
            uno.systemPathToFileUrl(os.path.abspath(source)), "_blank", 0,
            properties(Hidden=True))
        for name, filter_name in [("password.xls", "MS Excel 97"), ("password.ods", "calc8")]:
            document.storeToURL(uno.systemPathToFileUrl(os.path.abspath(name)),
                                properties(FilterName=filter_name, Password="secret"))
        document.close(True)
    finally:
        # The office and the process it starts end together.
        os.killpg(office.pid, signal.SIGTERM)
        office.wait()
        shutil.rmtree(work, ignore_errors=True)


def directory_entry(name, kind, child, right, start, size):
    encoded = (name + "\0").encode("utf-16-le")
    return (encoded.ljust(64, b"\0") + struct.pack("<HBB", len(encoded), kind, 1)
            + struct.pack("<III", NO_ENTRY, right, child) + b"\0" * 36
            + struct.pack("<IQ", start, size))


def encrypted_xlsx(package):
    """A version 3 compound file with the streams "EncryptionInfo" (in the mini stream) and
    "EncryptedPackage" (the package's size, then as many stand-in bytes: only the container
    tells a reader that the workbook is encrypted)."""
    info = struct.pack("<HHI", 4, 4, 0x40) + (
        b'<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\r\n'
        b'<encryption xmlns="http://schemas.microsoft.com/office/2006/encryption">'
        b'<keyData saltSize="16" blockSize="16" keyBits="256" hashSize="64" '
        b'cipherAlgorithm="AES" cipherChaining="ChainingModeCBC" hashAlgorithm="SHA512" '
        b'saltValue="AAAAAAAAAAAAAAAAAAAAAA=="/></encryption>')
    body = struct.pack("<Q", len(package)) + bytes(len(package) + (-len(package)) % 16)
    mini_sectors = (len(info) + 63) // 64
    ministream = info.ljust(mini_sectors * 64, b"\0")
    ministream_sectors = (len(ministream) + SECTOR - 1) // SECTOR
    body_sectors = (len(body) + SECTOR - 1) // SECTOR
    # Sector 0 the FAT, 1 the directory, 2 the mini FAT, then the mini stream, then the package.
    first_ministream, first_body = 3, 3 + ministream_sectors
    count = first_body + body_sectors
    assert count <= SECTOR // 4, "one FAT sector maps the file"
    fat = [FAT_SECTOR, END_OF_CHAIN, END_OF_CHAIN]
    for first, length in [(first_ministream, ministream_sectors), (first_body, body_sectors)]:
        fat += [first + i + 1 for i in range(length - 1)] + [END_OF_CHAIN]
    fat += [FREE] * (SECTOR // 4 - len(fat))
    mini_fat = [i + 1 for i in range(mini_sectors - 1)] + [END_OF_CHAIN]
    mini_fat += [FREE] * (SECTOR // 4 - len(mini_fat))
    # Names sort by length first: "EncryptionInfo" is the root's child, "EncryptedPackage" its
    # right sibling.
    directory = (directory_entry("Root Entry", 5, 1, NO_ENTRY, first_ministream, len(ministream))
                 + directory_entry("EncryptionInfo", 2, NO_ENTRY, 2, 0, len(info))
                 + directory_entry("EncryptedPackage", 2, NO_ENTRY, NO_ENTRY, first_body, len(body))
                 + b"\0" * 128)
    header = (b"\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1" + b"\0" * 16
              + struct.pack("<HHHHH", 0x3E, 3, 0xFFFE, 9, 6) + b"\0" * 10
              + struct.pack("<IIIIIIII", 1, 1, 0, 4096, 2, 1, END_OF_CHAIN, 0)
              + struct.pack("<I", 0) + struct.pack("<I", FREE) * 108)
    sectors = [struct.pack("<%dI" % (SECTOR // 4), *fat), directory,
               struct.pack("<%dI" % (SECTOR // 4), *mini_fat)]
    data = ministream.ljust(ministream_sectors * SECTOR, b"\0") + body.ljust(body_sectors * SECTOR, b"\0")
    return header + b"".join(sectors) + data


save_with_office("general.fods")
with open("general.xlsx", "rb") as f:
    xlsx = encrypted_xlsx(f.read())
with open("password.xlsx", "wb") as f:
    f.write(xlsx)
