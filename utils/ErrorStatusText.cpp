// The words of each drawing-database status, by value.
#include "ErrorStatusText.h"

namespace {

// One entry per value 0 to 432; values without words hold null.
constexpr const char* kTexts[433] = {
    "Success",  // 0
    "Not Yet Implemented",  // 1
    "Not Applicable",  // 2
    "Invalid Input",  // 3
    "Ambiguous Input",  // 4
    "Ambiguous Output",  // 5
    "Out Of Memory",  // 6
    "Buffer Too Small",  // 7
    "Invalid Open State",  // 8
    "Entity In Inactive Layout",  // 9
    "Handle Exists",  // 10
    "Null Handle",  // 11
    "Broken Handle",  // 12
    "Unknown Handle",  // 13
    "Handle In Use",  // 14
    "Null Object Pointer",  // 15
    "Null Object Id",  // 16
    "Null Block Name",  // 17
    "Container Not Empty",  // 18
    nullptr,  // 19
    "Null Entity Pointer",  // 20
    "Illegal Entity Type",  // 21
    "Key Not Found",  // 22
    "Duplicate Key",  // 23
    "Invalid Index",  // 24
    "Duplicate Index",  // 25
    "Already In Db",  // 26
    "Out Of Disk",  // 27
    "Deleted Entry",  // 28
    "Negative Value Not Allowed",  // 29
    "Invalid Extents",  // 30
    "Invalid Ads Name",  // 31
    "Invalid Symbol Table Name",  // 32
    "Invalid Key",  // 33
    "Wrong Object Type",  // 34
    "Wrong Database",  // 35
    "Object To Be Deleted",  // 36
    "Invalid Dwg Version",  // 37
    "Anonymous Entry",  // 38
    "Illegal Replacement",  // 39
    "End Of Object",  // 40
    "End Of File",  // 41
    "Is Reading",  // 42
    "Is Writing",  // 43
    "Not Open For Read",  // 44
    "Not Open For Write",  // 45
    "Not That Kind Of Class",  // 46
    "Invalid Block Name",  // 47
    "Missing Dxf Field",  // 48
    "Duplicate Dxf Field",  // 49
    "Invalid Dxf Code",  // 50
    "Invalid Res Buf",  // 51
    "Bad Dxf Sequence",  // 52
    "Filer Error",  // 53
    "Vertex After Face",  // 54
    "Invalid Face Vertex Index",  // 55
    "Invalid Mesh Vertex Index",  // 56
    "Other Objects Busy",  // 57
    "Must First Add Block To Db",  // 58
    "Cannot Nest Block Defs",  // 59
    "Dwg Recovered OK",  // 60
    "Dwg Not Recoverable",  // 61
    "Dxf Partially Read",  // 62
    "Dxf Read Aborted",  // 63
    "Dxb Partially Read",  // 64
    "Dwg CRC Does Not Match",  // 65
    "Dwg Sentinel Does Not Match",  // 66
    "Dwg Object Improperly Read",  // 67
    "No Input Filer",  // 68
    "Dwg Needs A Full Save",  // 69
    "Dxb Read Aborted",  // 70
    "File Locked By ACAD",  // 71
    "File Access Err",  // 72
    "File System Err",  // 73
    "File Internal Err",  // 74
    "File Too Many Open",  // 75
    "File Not Found",  // 76
    "Dwk Lock File Found",  // 77
    nullptr,  // 78
    nullptr,  // 79
    "Was Erased",  // 80
    "Permanently Erased",  // 81
    "Was Open For Read",  // 82
    "Was Open For Write",  // 83
    "Was Open For Undo",  // 84
    "Was Notifying",  // 85
    "Was Open For Notify",  // 86
    "On Locked Layer",  // 87
    "Must Open Thru Owner",  // 88
    "Subentities Still Open",  // 89
    "At Max Readers",  // 90
    "Is Write Protected",  // 91
    "Is XRef Object",  // 92
    "Not An Entity",  // 93
    "Had Multiple Readers",  // 94
    "Duplicate Record Name",  // 95
    "XRef Dependent",  // 96
    "Self Reference",  // 97
    "Missing Symbol Table",  // 98
    "Missing Symbol Table Rec",  // 99
    "Was Not Open For Write",  // 100
    "Close Was Notifying",  // 101
    "Close Modify Aborted",  // 102
    "Close Partial Failure",  // 103
    "Close Fail Object Damaged",  // 104
    "Cannot Be Erased By Caller",  // 105
    "Cannot Be Resurrected",  // 106
    nullptr,  // 107
    nullptr,  // 108
    nullptr,  // 109
    "Insert After",  // 110
    nullptr,  // 111
    nullptr,  // 112
    nullptr,  // 113
    nullptr,  // 114
    nullptr,  // 115
    nullptr,  // 116
    nullptr,  // 117
    nullptr,  // 118
    nullptr,  // 119
    "Fixed All Errors",  // 120
    nullptr,  // 121
    "Left Errors Unfixed",  // 122
    "Unrecoverable Errors",  // 123
    "No Database",  // 124
    "Xdata Size Exceeded",  // 125
    "Regapp Id Not Found",  // 126
    "Repeat Entity",  // 127
    "Record Not In Table",  // 128
    "Iterator Done",  // 129
    "Null Iterator",  // 130
    "Not In Block",  // 131
    "Owner Not In Database",  // 132
    "Owner Not Open For Read",  // 133
    "Owner Not Open For Write",  // 134
    "Explode Before Transform",  // 135
    "Cannot Scale Non Uniformly",  // 136
    "Not In Database",  // 137
    "Not Current Database",  // 138
    "Is An Entity",  // 139
    "Cannot Change Active Viewport",  // 140
    "Not In Paperspace",  // 141
    "Command Was In Progress",  // 142
    nullptr,  // 143
    nullptr,  // 144
    nullptr,  // 145
    nullptr,  // 146
    nullptr,  // 147
    nullptr,  // 148
    nullptr,  // 149
    "General Modeling Failure",  // 150
    "Out Of Range",  // 151
    "Non Coplanar Geometry",  // 152
    "Degenerate Geometry",  // 153
    "Invalid Axis",  // 154
    "Point Not On Entity",  // 155
    "Singular Point",  // 156
    "Invalid Offset",  // 157
    "Non Planar Entity",  // 158
    "Cannot Explode Entity",  // 159
    "String Too Long",  // 160
    "Invalid Sym Table Flag",  // 161
    "Undefined Line Type",  // 162
    "Invalid Text Style",  // 163
    "Too Few Line Type Elements",  // 164
    "Too Many Line Type Elements",  // 165
    "Excessive Item Count",  // 166
    "Ignored Linetype Redef",  // 167
    "Bad UCS",  // 168
    "Bad Paperspace View",  // 169
    "Some Input Data Left Unread",  // 170
    "No Internal Space",  // 171
    "Invalid Dim Style",  // 172
    "Invalid Layer",  // 173
    nullptr,  // 174
    nullptr,  // 175
    nullptr,  // 176
    nullptr,  // 177
    nullptr,  // 178
    nullptr,  // 179
    "User Break",  // 180
    nullptr,  // 181
    nullptr,  // 182
    nullptr,  // 183
    nullptr,  // 184
    nullptr,  // 185
    nullptr,  // 186
    nullptr,  // 187
    nullptr,  // 188
    nullptr,  // 189
    "Dwg Needs Recovery",  // 190
    "Delete Entity",  // 191
    "Invalid Fix",  // 192
    "FSM Error",  // 193
    nullptr,  // 194
    nullptr,  // 195
    nullptr,  // 196
    nullptr,  // 197
    nullptr,  // 198
    nullptr,  // 199
    "Bad Layer Name",  // 200
    "Layer Group Code Missing",  // 201
    "Bad Color Index",  // 202
    "Bad Linetype Name",  // 203
    "Bad Linetype Scale",  // 204
    "Bad Visibility Value",  // 205
    "Proper Class Separator Expected",  // 206
    "Bad Line Weight Value",  // 207
    nullptr,  // 208
    nullptr,  // 209
    "Pager Error",  // 210
    "Out Of Pager Memory",  // 211
    "Pager Write Error",  // 212
    "Was Not Forwarding",  // 213
    nullptr,  // 214
    nullptr,  // 215
    nullptr,  // 216
    nullptr,  // 217
    nullptr,  // 218
    nullptr,  // 219
    "Invalid Id Map",  // 220
    "Invalid Owner Object",  // 221
    "Owner Not Set",  // 222
    nullptr,  // 223
    nullptr,  // 224
    nullptr,  // 225
    nullptr,  // 226
    nullptr,  // 227
    nullptr,  // 228
    nullptr,  // 229
    "Wrong Subentity Type",  // 230
    "Too Many Vertices",  // 231
    "Too Few Vertices",  // 232
    nullptr,  // 233
    nullptr,  // 234
    nullptr,  // 235
    nullptr,  // 236
    nullptr,  // 237
    nullptr,  // 238
    nullptr,  // 239
    nullptr,  // 240
    nullptr,  // 241
    nullptr,  // 242
    nullptr,  // 243
    nullptr,  // 244
    nullptr,  // 245
    nullptr,  // 246
    nullptr,  // 247
    nullptr,  // 248
    nullptr,  // 249
    "No Active Transactions",  // 250
    "Not Top Transaction",  // 251
    "Transaction Open While Command Ended",  // 252
    "In Process Of Committing",  // 253
    "Not Newly Created",  // 254
    "Long Trans Reference Error",  // 255
    "No Work Set",  // 256
    nullptr,  // 257
    nullptr,  // 258
    nullptr,  // 259
    "Already In Group",  // 260
    "Not In Group",  // 261
    nullptr,  // 262
    nullptr,  // 263
    nullptr,  // 264
    nullptr,  // 265
    nullptr,  // 266
    nullptr,  // 267
    nullptr,  // 268
    nullptr,  // 269
    nullptr,  // 270
    nullptr,  // 271
    nullptr,  // 272
    nullptr,  // 273
    nullptr,  // 274
    nullptr,  // 275
    nullptr,  // 276
    nullptr,  // 277
    nullptr,  // 278
    nullptr,  // 279
    nullptr,  // 280
    nullptr,  // 281
    nullptr,  // 282
    nullptr,  // 283
    nullptr,  // 284
    nullptr,  // 285
    nullptr,  // 286
    nullptr,  // 287
    nullptr,  // 288
    nullptr,  // 289
    "Invalid REFIID",  // 290
    "Invalid Normal",  // 291
    "Invalid Style",  // 292
    nullptr,  // 293
    nullptr,  // 294
    nullptr,  // 295
    nullptr,  // 296
    nullptr,  // 297
    nullptr,  // 298
    nullptr,  // 299
    "Cannot Restore From Acis File",  // 300
    "Make Me Proxy",  // 301
    "NLS File Not Available",  // 302
    "Not Allowed For This Proxy",  // 303
    nullptr,  // 304
    nullptr,  // 305
    nullptr,  // 306
    nullptr,  // 307
    nullptr,  // 308
    nullptr,  // 309
    "Not Supported In Dwg Api",  // 310
    "Poly Width Lost",  // 311
    "Null Extents",  // 312
    nullptr,  // 313
    "Bad Dwg Header",  // 314
    nullptr,  // 315
    nullptr,  // 316
    nullptr,  // 317
    nullptr,  // 318
    nullptr,  // 319
    "Lock Violation",  // 320
    "Lock Conflict",  // 321
    "Database Objects Open",  // 322
    "Lock Change In Progress",  // 323
    nullptr,  // 324
    "Vetoed",  // 325
    nullptr,  // 326
    nullptr,  // 327
    nullptr,  // 328
    nullptr,  // 329
    "No Document",  // 330
    "Not From This Document",  // 331
    "LISP Active",  // 332
    "Target Doc Not Quiescent",  // 333
    "Document Switch Disabled",  // 334
    "Invalid Context",  // 335
    nullptr,  // 336
    "Create Failed",  // 337
    "Create Invalid Name",  // 338
    nullptr,  // 339
    "Set Failed",  // 340
    nullptr,  // 341
    "Del Does Not Exist",  // 342
    "Del Is Model Space",  // 343
    "Del Last Layout",  // 344
    "Del Unable To Set Current",  // 345
    "Del Unable To Find",  // 346
    nullptr,  // 347
    "Rename Does Not Exist",  // 348
    "Rename Is Model Space",  // 349
    "Rename Invalid Layout Name",  // 350
    "Rename Layout Already Exists",  // 351
    "Rename Invalid Name",  // 352
    nullptr,  // 353
    "Copy Does Not Exist",  // 354
    "Copy Is Model Space",  // 355
    "Copy Failed",  // 356
    "Copy Invalid Name",  // 357
    "Copy Name Exists",  // 358
    "Profile Does Not Exist",  // 359
    "Invalid File Extension",  // 360
    "Invalid Profile Name",  // 361
    "File Exists",  // 362
    "Profile Is In Use",  // 363
    "Cant Open File",  // 364
    "No File Name",  // 365
    "Registry Access Error",  // 366
    "Registry Create Error",  // 367
    "Bad Dxf File",  // 368
    "Unknown Dxf File Format",  // 369
    "Missing Dxf Section",  // 370
    "Invalid Dxf Section Name",  // 371
    "Not Dxf Header Group Code",  // 372
    "Undefined Dxf Group Code",  // 373
    "Not Initialized Yet",  // 374
    "Invalid Dxf 2d Point",  // 375
    "Invalid Dxf 3d Point",  // 376
    nullptr,  // 377
    "Badly Nested App Data",  // 378
    "Incomplete Block Definition",  // 379
    "Incomplete Complex Object",  // 380
    "Block Def In Entity Section",  // 381
    "No Block Begin",  // 382
    "Duplicate Layer Name",  // 383
    "Bad Plot Style Name",  // 384
    "Duplicate Block Name",  // 385
    "Bad Plot Style Type",  // 386
    "Bad Plot Style Name Handle",  // 387
    "Undefine Shape Name",  // 388
    "Duplicate Block Definition",  // 389
    "Missing Block Name",  // 390
    "Binary Data Size Exceeded",  // 391
    "Object Is Referenced",  // 392
    "No Thumbnail Bitmap",  // 393
    "Guid No Address",  // 394
    "Must Be 0 To 2",  // 395
    "Must Be 0 To 3",  // 396
    "Must Be 0 To 4",  // 397
    "Must Be 0 To 5",  // 398
    "Must Be 0 To 8",  // 399
    "Must Be 1 To 8",  // 400
    "Must Be 1 To 15",  // 401
    "Must Be Positive",  // 402
    "Must Be Non Negative",  // 403
    "Must Be Non Zero",  // 404
    "Must Be 1 To 6",  // 405
    "No Plot Style Translation Table",  // 406
    "Plot Style In Color Dependent Mode",  // 407
    "Max Layouts",  // 408
    "No Class Id",  // 409
    "Undo Operation Not Available",  // 410
    "Undo No Group Begin",  // 411
    nullptr,  // 412
    nullptr,  // 413
    nullptr,  // 414
    nullptr,  // 415
    nullptr,  // 416
    nullptr,  // 417
    nullptr,  // 418
    nullptr,  // 419
    "Hatch Too Dense",  // 420
    nullptr,  // 421
    nullptr,  // 422
    nullptr,  // 423
    nullptr,  // 424
    nullptr,  // 425
    nullptr,  // 426
    nullptr,  // 427
    nullptr,  // 428
    nullptr,  // 429
    "Open File Cancelled",  // 430
    "Not Handled",  // 431
    "Make Me Proxy And Resurrect",  // 432
};

}  // namespace

ErrorStatusText::ErrorStatusText() {}
ErrorStatusText::~ErrorStatusText() {}

CString ErrorStatusText::GetText(int status) {
  CString text;
  // Taken as unsigned, every negative value is above the table too.
  unsigned int index = static_cast<unsigned int>(status);
  if (index > 432) return text;
  const char* words = kTexts[index];
  if (words == nullptr) return text;
  // Plain ASCII: widened character by character.
  for (const char* p = words; *p != 0; ++p) text.AppendChar(static_cast<wchar_t>(static_cast<unsigned char>(*p)));
  return text;
}
