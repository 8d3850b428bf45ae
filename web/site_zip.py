#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Makes NAME.zip and its NAME.zip.sha256 in the working directory: the files of SITE in one folder
NAME/, so that unpacking it and opening index.html plays. Order, modes and times are set here
rather than taken from the disk (no access or change times, no owner), so the bytes are the same
whoever packs them, with any umask, in any time zone: every time is EPOCH's, or SOURCE_DATE_EPOCH's.

  site_zip.py SITE NAME EPOCH
"""
import hashlib
import os
import sys
import time
import zipfile

site, name, epoch = sys.argv[1], sys.argv[2], int(os.environ.get("SOURCE_DATE_EPOCH", sys.argv[3]))
with zipfile.ZipFile(name + ".zip", "w") as archive:
    for file in sorted(os.listdir(site)):
        entry = zipfile.ZipInfo(name + "/" + file, date_time=time.gmtime(epoch)[:6])
        entry.external_attr = 0o100644 << 16
        entry.create_system = 3  # Unix, so that the mode above counts
        entry.compress_type = zipfile.ZIP_DEFLATED
        with open(os.path.join(site, file), "rb") as data:
            archive.writestr(entry, data.read(), compresslevel=9)
with open(name + ".zip", "rb") as data:
    digest = hashlib.sha256(data.read()).hexdigest()
with open(name + ".zip.sha256", "w") as checksum:
    checksum.write("%s  %s.zip\n" % (digest, name))
