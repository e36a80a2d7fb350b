-- A cases file as an older version of the program left it: fewer columns, some rows with Nulls.
-- Made into QUONDATA-v1.MDB with: sqlite3 QUONDATA-v1.MDB < QUONDATA-v1.sql
CREATE TABLE Cases (casedesc TEXT, caseid TEXT, caseopen TEXT, courtfile TEXT, courttype TEXT, county TEXT,
                    pinc TEXT, dinc TEXT, whosecustody TEXT);
INSERT INTO Cases VALUES ('Smith v. Jones', 'SM123456', '3/1/2015', 'DR-15-900', 'Circuit', 'Jefferson', '3000', '2000', 'P');
INSERT INTO Cases VALUES ('O''Brien v. "Doe"', 'OB654321', '4/2/2016', NULL, NULL, 'Müller', '1500', NULL, 'D');
