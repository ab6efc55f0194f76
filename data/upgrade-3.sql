-- Version 2 to 3, for SQLite and PostgreSQL alike: the schema version. What version 3 brings is PostgreSQL's alone
-- (postgresql-3.sql, run after this one there): an SQLite database has one user, who sees everything.

INSERT INTO VERSAOESQUEMA (NRVERSAO) VALUES (3);
