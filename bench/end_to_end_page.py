#!/usr/bin/env python3
"""Writes the end-to-end benchmark's data page: one section Orders of RECORDS order lines,
100 per customer, as a data packet inside a <PRE> block. Usage: end_to_end_page.py RECORDS"""
import sys

records = int(sys.argv[1]) if len(sys.argv) > 1 else 100000
out = sys.stdout
out.write("<html>\n<body>\n<PRE>\n")
out.write('<?xml version="1.0" standalone="yes"?><DATAPACKET Version="2.0"><METADATA><FIELDS>'
          '<FIELD attrname="Cust" fieldtype="i4"/><FIELD attrname="No" fieldtype="i4"/>'
          '<FIELD attrname="Amount" fieldtype="r8"/></FIELDS><PARAMS/></METADATA><ROWDATA>')
out.write("".join(f'<ROW Cust="{i // 100}" No="{i}" Amount="{i % 977}.25"/>'
                  for i in range(records)))
out.write("</ROWDATA></DATAPACKET>\nDATANAME=Orders\n</PRE>\n</body>\n</html>\n")
