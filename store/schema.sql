-- The tables of a new user.db. IDs only ever grow (AUTOINCREMENT), so export marks stay meaningful
-- after records are deleted.
CREATE TABLE tbl_task (
    ID INTEGER PRIMARY KEY AUTOINCREMENT,
    taskname TEXT,
    adddate INTEGER,
    lasttime INTEGER,
    lastpage INTEGER,
    taskcount INTEGER,
    getcount INTEGER,
    tasktype INTEGER,
    priid TEXT,
    cityid TEXT,
    jytype TEXT,
    yeartrun TEXT,
    ygcount TEXT
);
CREATE TABLE tbl_list (
    ID INTEGER PRIMARY KEY AUTOINCREMENT,
    PID INTEGER,
    comname TEXT,
    rid TEXT,
    lxr TEXT,
    job TEXT,
    tel TEXT,
    tel2 TEXT,
    tel3 TEXT,
    addr TEXT,
    yp TEXT,
    email TEXT,
    homepage TEXT,
    qytype TEXT,
    zycp TEXT,
    zyhy TEXT,
    zczb TEXT,
    ygnum TEXT,
    createtime TEXT,
    frdb TEXT,
    curpage INTEGER
);
CREATE INDEX IF NOT EXISTS idx_list_pid_rid ON tbl_list(PID, rid);
CREATE TABLE tbl_his (
    tid INTEGER,
    lastid TEXT
);
CREATE TABLE tbl_dict (
    id INTEGER PRIMARY KEY,
    name TEXT,
    type INTEGER
);
